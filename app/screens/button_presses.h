// Presses of one button (a key, a joystick button or a direction of an axis)
// for a menu that must follow the player's fingers: every press counts once,
// however short, and a button held on repeats at a readable rate.
#pragma once
#include <SDL.h>

struct button_presses {
  static constexpr Uint32 repeat_delay = 400;     // ms from a press to its first repeat
  static constexpr Uint32 repeat_interval = 250;  // ms between repeats: 4 a second

  bool held = false;       // as sampled last frame; false before the first frame
  Uint32 next_repeat = 0;  // game tick of the next repeat while held

  // Presses in this frame. `held_now` is the button's state sampled now;
  // `press_events` the press events taken off the queue this frame (a press
  // shorter than a frame shows only there). A press seen both ways counts
  // once; with neither, a held button gives one repeat when it is due.
  // `now` is in game ticks (ms).
  int update(bool held_now, int press_events, Uint32 now);
};

// The controls screen, opened from the options: each player's inputs for
// every action and for pause. Return on an action waits for the next key,
// joystick button or stick push, which then holds that action (Escape
// cancels the wait); an input another action held is swapped with it.
// "Reset to defaults" puts back the shown player's defaults. Every change is
// in force at once and saved in the player's settings file (not while a
// replay plays).
#pragma once
#include <SDL.h>

#include "app/input/action_bindings.h"
#include "app/settings.h"

struct title_screens;

// What the player pressed since the last frame, for the screen waiting on an
// input: keys from `keys` against `keys_before`, joysticks 0 and 1 against
// `sticks_before` when `joysticks_open`. Escape is never taken: it cancels.
struct pressed_input_watch {
  Uint8 keys_before[SDLK_LAST] = {};
  bool sticks_before[2][16 + 2 * 8] = {};  // buttons 0..15, then each axis's - and + side

  // Takes what is held now as seen; true with `input` on a new press.
  bool take(const Uint8* keys, bool joysticks_open, input_binding& input);
};

// Runs the screen until Back or Escape. `s` is the run's settings (saved with the bindings).
void run_controls_screen(title_screens& titles, const game_settings& s);

// The inputs that make a run non-repeatable (keyboard state, joysticks 0 and 1,
// the millisecond tick counter, the random source) are read only through here.
// By default they are SDL's and the C library's; tests and scripted runs swap in
// their own sources.
#pragma once
#include <SDL.h>

struct input_seams {
  Uint8* (*key_state)();           // SDLK_LAST entries, 1 while held
  Uint32 (*ticks)();               // milliseconds
  int (*random)();                 // 0..RAND_MAX, like rand()
  int (*joy_button)(int button);   // joystick 0: 1 while held
  Sint16 (*joy_axis)(int axis);    // joystick 0: -32768..32767
  int (*second_joy_button)(int button);  // joystick 1 (the second player's), as above
  Sint16 (*second_joy_axis)(int axis);
};

input_seams& seams();
void reset_seams();  // back to SDL's and the C library's sources

inline Uint8* key_state() { return seams().key_state(); }
inline Uint32 game_ticks() { return seams().ticks(); }
inline int game_rand() { return seams().random(); }
inline int joy_button(int button) { return seams().joy_button(button); }
inline Sint16 joy_axis(int axis) { return seams().joy_axis(axis); }
// `stick` 0 or 1; any other reads as a joystick at rest.
inline int joy_button_of(int stick, int button) {
  if (stick == 0) return seams().joy_button(button);
  return stick == 1 ? seams().second_joy_button(button) : 0;
}
inline Sint16 joy_axis_of(int stick, int axis) {
  if (stick == 0) return seams().joy_axis(axis);
  return stick == 1 ? seams().second_joy_axis(axis) : 0;
}

// 1 once joystick 0 is open (set by the video start-up, or by a replay to what
// was recorded): the human's controls read the joystick sources only then.
extern int g_joystick_ready;
inline bool joystick_ready() { return g_joystick_ready == 1; }

// The joystick that the default joystick source reads (set when joysticks open).
void set_default_joystick(SDL_Joystick* joystick);
// The same for joystick 1; without one it reads as a joystick at rest.
void set_second_joystick(SDL_Joystick* joystick);

// A keyboard array tests can write into: `scripted_keys()[SDLK_RIGHT] = 1`.
Uint8* scripted_keys();
void use_scripted_keys();  // key_state() then returns scripted_keys()

// Recorded and replayed runs draw random numbers from a generator of our own
// (same range as rand()) whose whole state can be read, so a replay can check
// it; other runs keep rand().
void use_recordable_random(unsigned seed);
unsigned long long recordable_random_state();
// Puts the generator back to a state read before (a fight rolled back).
void set_recordable_random_state(unsigned long long state);

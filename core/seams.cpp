#include "core/seams.h"

#include <cstdlib>

namespace {

SDL_Joystick* default_joystick = nullptr;
SDL_Joystick* second_joystick = nullptr;
Uint8 scripted[SDLK_LAST];

Uint8* sdl_key_state() { return SDL_GetKeyState(nullptr); }
Uint32 sdl_ticks() { return SDL_GetTicks(); }
int c_random() { return std::rand(); }
int sdl_joy_button(int button) {
  return default_joystick ? SDL_JoystickGetButton(default_joystick, button) : 0;
}
Sint16 sdl_joy_axis(int axis) {
  return default_joystick ? SDL_JoystickGetAxis(default_joystick, axis) : 0;
}
int sdl_second_joy_button(int button) {
  return second_joystick ? SDL_JoystickGetButton(second_joystick, button) : 0;
}
Sint16 sdl_second_joy_axis(int axis) {
  return second_joystick ? SDL_JoystickGetAxis(second_joystick, axis) : 0;
}
Uint8* scripted_key_state() { return scripted; }

unsigned long long random_state = 0;
int recordable_random() {
  // 64-bit linear congruential step; the top 31 bits are the number.
  random_state = random_state * 6364136223846793005ULL + 1442695040888963407ULL;
  return static_cast<int>(random_state >> 33);
}

input_seams defaults() {
  return input_seams{sdl_key_state,  sdl_ticks,           c_random,           sdl_joy_button,
                     sdl_joy_axis,   sdl_second_joy_button, sdl_second_joy_axis};
}

input_seams current = defaults();

}  // namespace

int g_joystick_ready = 0;

input_seams& seams() { return current; }
void reset_seams() { current = defaults(); }
void set_default_joystick(SDL_Joystick* joystick) { default_joystick = joystick; }
void set_second_joystick(SDL_Joystick* joystick) { second_joystick = joystick; }
Uint8* scripted_keys() { return scripted; }
void use_scripted_keys() { current.key_state = scripted_key_state; }
void use_recordable_random(unsigned seed) {
  random_state = seed;
  current.random = recordable_random;
}
unsigned long long recordable_random_state() { return random_state; }
void set_recordable_random_state(unsigned long long state) { random_state = state; }

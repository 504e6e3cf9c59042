#include "fighter/path.h"

#include <SDL.h>

#include <cmath>

#include "core/log.h"
#include "core/quit_request.h"
#include "core/seams.h"
#include "core/trig_tables.h"

void path::add_step(int32_t mode, int32_t p0, int32_t p1, int32_t p2, int32_t p3) {
  if (step_count >= max_steps) {
    log_out("ERROR: path [%x] already holds [%d] steps, step of mode [%d] refused\n", log_addr(this),
            step_count, mode);
    return;
  }
  path_row& row = steps[step_count];
  row.mode = mode;
  row.params[0] = p0;
  row.params[1] = p1;
  row.params[2] = p2;
  row.params[3] = p3;
  ++step_count;
}

void path::update() {
  primary_trigger = -1;
  secondary_trigger = -1;
  aim_x = 0.0;
  aim_y = 0.0;

  // Each path update consumes one queued event, whoever it was meant for; a
  // quit request among them is recorded, not lost.
  SDL_Event taken;
  if (SDL_PollEvent(&taken) == 1) note_taken_event(taken);

  recognizer.sample();

  // An empty table requests nothing; an index copied in from elsewhere may be stale.
  if (step_count <= 0) return;
  if (step_index < 0 || step_index >= step_count) step_index = 0;
  run_mode(steps[step_index].mode);
  step_index += 1;
  if (step_index >= step_count) step_index = 0;
}

void path::fire(double aim) {
  primary_trigger = 0;
  aim_x = 0.0;
  aim_y = aim;
}

void path::run_mode(int32_t mode) {
  switch (mode) {
    case mode_wander: {
      if (game_rand() % 100 > 90) vx = game_rand() % 3 - 1;
      if (game_rand() % 100 > 90) vy = game_rand() % 3 - 1;
      if (game_rand() % 100 > 10) fire(1.0);
      break;
    }
    case mode_circle: {
      int i = (age % 120) * 3;  // (age x 3) mod 360 without overflow or a negative index
      if (i < 0) i += 360;
      vx = cos100[i] * static_cast<double>(0.01f) + 0.1;
      vy = sin100[i] * static_cast<double>(0.01f);
      fire(1.0);
      break;
    }
    case mode_wave:
      vx = std::cos(2 * age * 0.03488888888888889);
      fire(1.0);
      break;
    case mode_human:
      run_human();
      break;
    case mode_random_shooter: {
      if (game_rand() % 100 > 10) vx = game_rand() % 3 - 1;
      if (game_rand() % 100 > 80) vy = game_rand() % 3 - 1;
      if (game_rand() % 100 > 95) {
        secondary_trigger = 1;
        aim_x = 0.0;
        aim_y = -1.0;
      }
      break;
    }
    case mode_second_keys:
      run_second_keys();
      break;
    case mode_computer:
      run_computer_opponent();
      break;
    case mode_straight:
      vy = 0.0;
      break;
    default:
      break;  // unknown modes request nothing
  }
}

namespace {

// Bands of a joystick axis; later, larger bands overwrite smaller ones.
bool axis_value(Sint16 a, double& out) {
  bool set = false;
  if (a > 3200) { out = 0.5; set = true; }
  if (a < -3200) { out = -0.5; set = true; }
  if (a > 10000) { out = 1.0; set = true; }
  if (a < -10000) { out = -1.0; set = true; }
  if (a > 17000) { out = 1.5; set = true; }
  if (a < -17000) { out = -1.5; set = true; }
  return set;
}

bool held(const Uint8* keys, int key) { return keys && key >= 0 && key < SDLK_LAST && keys[key] != 0; }

}  // namespace

void path::run_human() {
  const player_keys& k = keys ? *keys : first_player_keys;
  bool horizontal = false;
  bool vertical = false;
  if (joystick_ready()) {
    if (joy_button_of(k.joystick, 0)) fire(-1.0);
    const int extra[3] = {3, 4, 5};
    for (int b = 1; b <= 3; ++b) {
      if (joy_button_of(k.joystick, b)) {
        primary_trigger = extra[b - 1];
        aim_x = 0.0;
        aim_y = -1.0;
      }
    }
    if (axis_value(joy_axis_of(k.joystick, 0), vx)) horizontal = true;
    if (axis_value(joy_axis_of(k.joystick, 1), vy)) vertical = true;
  }

  const Uint8* state = key_state();
  if (held(state, k.left)) { vx = -1.0; horizontal = true; }
  if (held(state, k.right)) { vx = 1.0; horizontal = true; }
  if (held(state, k.up)) { vy = -1.0; vertical = true; }
  if (held(state, k.down)) { vy = 1.0; vertical = true; }
  if (!horizontal) vx = 0.0;
  if (!vertical) vy = 0.0;

  if (held(state, k.second_punch)) fire(-1.0);
  if (held(state, k.punch)) fire(-1.0);
  if (held(state, k.kick)) {
    primary_trigger = 3;
    aim_x = 0.0;
    aim_y = -1.0;
  }
}

void path::run_second_keys() {
  const Uint8* keys = key_state();
  bool horizontal = false;
  bool vertical = false;
  if (held(keys, SDLK_a)) { vx = -1.0; horizontal = true; }
  if (held(keys, SDLK_d)) { vx = 1.0; horizontal = true; }
  if (held(keys, SDLK_w)) { vy = -1.0; vertical = true; }
  if (held(keys, SDLK_s)) { vy = 1.0; vertical = true; }
  if (held(keys, SDLK_z)) primary_trigger = 3;
  if (held(keys, SDLK_TAB)) fire(-1.0);
  if (!horizontal) vx = 0.0;
  if (!vertical) vy = 0.0;
}

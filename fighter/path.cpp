#include "fighter/path.h"

#include <SDL.h>

#include <cmath>

#include "core/log.h"
#include "core/quit_request.h"
#include "core/seams.h"
#include "fighter/player_actions.h"
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

  recognizer.sample(actions);

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

// Keys and a stick's bands arrive as action bits: a direction held moves at
// full speed unless only a stick pushes it, half or strongly.
double axis_speed(player_actions a, player_actions half, player_actions strong) {
  if (a & strong) return 1.5;
  if (a & half) return 0.5;
  return 1.0;
}

void path::run_human() {
  const player_actions a = actions;
  vx = 0.0;
  vy = 0.0;
  // Right beats left and down beats up, as when both keys are held.
  if (a & action_left) vx = -axis_speed(a, action_x_half, action_x_strong);
  if (a & action_right) vx = axis_speed(a, action_x_half, action_x_strong);
  if (a & action_up) vy = -axis_speed(a, action_y_half, action_y_strong);
  if (a & action_down) vy = axis_speed(a, action_y_half, action_y_strong);

  // Later attacks win: kick over punch, the extra attacks over both.
  const struct {
    player_actions bit;
    int32_t trigger;
  } attacks[] = {{action_punch, 0}, {action_kick, 3}, {action_extra1, 4}, {action_extra2, 5}};
  for (const auto& attack : attacks) {
    if (!(a & attack.bit)) continue;
    primary_trigger = attack.trigger;
    aim_x = 0.0;
    aim_y = -1.0;
  }
}

void path::run_second_keys() {
  const player_actions a = actions;
  vx = (a & action_right) ? 1.0 : (a & action_left) ? -1.0 : 0.0;
  vy = (a & action_down) ? 1.0 : (a & action_up) ? -1.0 : 0.0;
  if (a & action_kick) primary_trigger = 3;
  if (a & action_punch) fire(-1.0);
}

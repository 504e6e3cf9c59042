// The per-lifeform controller: once per frame it decides how the lifeform wants
// to move and whether it attacks, from the keyboard and joystick (a human), the
// computer opponent, or a simple movement pattern (projectiles). It never moves
// the lifeform itself; lifeform::steer copies state in and the requests out.
#pragma once
#include <cstdint>

#include "fighter/combo.h"
#include "fighter/computer_difficulty.h"
#include "fighter/control.h"
#include "fighter/player_actions.h"

// Control modes of a step.
enum path_mode {
  mode_wander = 0,     // random drift, fires often
  mode_circle = 1,     // circles by age, fires
  mode_wave = 2,       // horizontal wave by age, fires
  mode_human = 3,      // a human: the actions of the path's player
  mode_random_shooter = 4,
  mode_second_keys = 5,  // the actions, read as the second keyboard was (kick keeps the aim)
  mode_computer = 6,   // the computer opponent
  mode_straight = 7,   // projectiles
};

struct path_row {
  int32_t mode = 0;
  int32_t params[4] = {0, 0, 0, 0};  // stored with the row, never read
};

class path {
 public:
  static constexpr int max_steps = 100;

  // Kept between updates.
  path_row steps[max_steps];
  int32_t step_index = 0;    // row used by the next update
  int32_t step_count = 0;    // rows in use

  // Results (out), reset by every update.
  int32_t primary_trigger = 0;    // -1 none, 0 punch, 3 kick, 4/5 extra attacks; weapon number for weapons
  int32_t secondary_trigger = 0;  // request to fire the second weapon
  int32_t spare[2] = {0, 0};      // not read
  double vx = 0.0, vy = 0.0;      // velocity request (also copied in)
  double aim_x = 0.0, aim_y = 0.0;  // offsets handed to a firing weapon

  // Copies of the lifeform's state (in), refreshed by every steer.
  int32_t x = 0, y = 0;
  int32_t age = 0;
  int32_t facing = 0;
  int32_t ai_decision = -1;  // the computer opponent's memory; -1 decide afresh
  int32_t target = 0;
  combo_recognizer recognizer;
  int32_t ai_weights[6] = {0, 0, 0, 0, 0, 0};
  computer_memory ai;  // the computer opponent's memory at a set difficulty
  int32_t player = 0;          // whose actions steer it: 0 the first player, 1 the second
  player_actions actions = 0;  // what that player holds this frame, set by the fight before the update

  // Appends a row; a 101st row is refused with an ERROR line.
  void add_step(int32_t mode, int32_t p0 = 0, int32_t p1 = 0, int32_t p2 = 0, int32_t p3 = 0);
  // One frame: consume one SDL event, sample the recogniser, run the row's mode.
  void update();

  // The modes, public so tests can drive one directly.
  void run_mode(int32_t mode);
  void run_human();
  void run_second_keys();
  void run_computer_opponent();  // fighter/computer_opponent.cpp

  // A human step steers it, with `p`'s actions.
  bool steered_by_human(int p) const { return player == p && step_count > 0 && steps[0].mode == mode_human; }

  // The opponent (`target`) is within the attack range of ai_weights.
  bool opponent_in_reach() const;

 private:
  void fire(double aim);
  // Set difficulty (fighter/computer_opponent.cpp).
  void act_on_decision(int level, const difficulty_profile& profile, uint32_t now, double d);
  bool ready_to_attack(const difficulty_profile& profile, uint32_t now) const;
  bool special_due(const difficulty_profile& profile, uint32_t now) const;
  void filter_block(const difficulty_profile& profile);
  void evade_projectiles(const difficulty_profile& profile, double toward);
  bool fight_close(const difficulty_profile& profile, double toward, uint32_t now);
  bool perform_combo_of_type(int type, const difficulty_profile& profile, uint32_t now);
};

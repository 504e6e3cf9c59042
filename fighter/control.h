// Named input patterns (`control`) and the name tables (`control_map`) that
// character files use to spell their combos ("down", "right", "punch" ...),
// and the keys and joystick each human player steers with (`player_keys`).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/name_hash.h"

// One key in one state: state 1 while held, 0 while up. Keys are SDL key codes.
struct key_pair {
  int32_t key = 0;
  int32_t state = 0;
};

class control {
 public:
  int32_t min_time = 1;           // window after the previous step opens, ms (exclusive)
  int32_t max_time = 1000;        // window closes, ms (exclusive)
  std::vector<key_pair> pairs;    // all must be seen inside the window
  std::string name;               // the control's own name ("p1_down")

  control() = default;
  control(const char* control_name, int32_t min_ms, int32_t max_ms);

  void add_pair(int32_t key, int32_t state);
};

// A combo step is a copy of the control that the character file named.
using combo_step = control;

// Map name ("down") to control; exact, case-sensitive names. The map does not
// own its controls: the fight set-up builds and releases them.
class control_map {
 public:
  name_hash names;  // its construction prints "making hash empty"

  void insert(const char* name, control* c) { names.insert(name, c); }
  control* lookup(const char* name) const { return static_cast<control*>(names.lookup(name)); }
};

// What a human fighter is steered with: SDL key codes (no_key: none) and the
// joystick (0 or 1) read beside them.
struct player_keys {
  static constexpr int no_key = -1;
  int left, right, up, down;
  int punch, second_punch;  // either fires the primary attack
  int kick;
  int joystick;
};

// Arrows, SPACE and i (punch), k (kick), joystick 0: the player who picks first.
extern const player_keys first_player_keys;
// a, d, w, s, Tab (punch), z (kick), joystick 1: a second player at the same keyboard.
extern const player_keys second_player_keys;

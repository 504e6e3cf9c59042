// Named input patterns (`control`) and the name tables (`control_map`) that
// character files use to spell their combos ("down", "right", "punch" ...).
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

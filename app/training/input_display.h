// Player 1's last inputs in training: each change of what they hold, with the
// frames it was held, newest first, and the name of a combo recognised while
// it was held.
#pragma once
#include <deque>
#include <string>

#include "fighter/player_actions.h"

struct shown_input {
  player_actions held = 0;
  int frames = 0;       // frames held so far
  std::string combo;    // a combo's name recognised during it; empty for none
};

class input_display {
 public:
  static constexpr size_t shown = 16;
  std::deque<shown_input> inputs;  // newest first, at most `shown`

  // One frame of player 1's actions.
  void note(player_actions held);
  // A combo recognised this frame, shown by the newest input.
  void note_combo(const char* name);
  void clear() { inputs.clear(); }

  // Column of lines at the screen's left, under the gauges.
  void draw() const;
};

// How an input reads in the column: "R+P" for right and punch (U, D, L, R,
// P, K, X1, X2); "-" when nothing is held. Stick bands are not shown.
std::string input_label(player_actions held);

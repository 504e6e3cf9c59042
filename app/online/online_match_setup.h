// The rules an online fight plays by, set up the same way for the fight
// itself and for the replay of it, so the replay steps the very same match.
#pragma once
#include "fight/match.h"

struct online_match_terms {
  int rounds = 0;      // the host's; 0 with no round clock either: two rounds
  int round_time = 0;
  bool push_apart = false;
  unsigned seed = 0;
  int fps = 60;
  bool hit_boxes = true;  // drawing only
};

// Sets the match rules, the fight's feel, its random numbers from `seed` and
// its own clock at frame 0; returns the rules in force.
match_rules start_online_match(const online_match_terms& terms);

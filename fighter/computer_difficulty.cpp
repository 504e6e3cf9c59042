#include "fighter/computer_difficulty.h"

#include <algorithm>

namespace {

int game_level = 0;

// Level 1 is a beginner's sparring partner; level 5 plays as the level-0
// opponent does, minus its bursts of specials, and reads incoming shots.
const difficulty_profile profiles[highest_difficulty] = {
    {400, 2000, 0, 25, false, 0},
    {300, 1500, 25, 45, true, 20},
    {200, 1000, 50, 65, true, 45},
    {100, 600, 75, 85, true, 70},
    {0, 500, 100, 100, true, 100},
};

}  // namespace

void set_computer_difficulty(int level) { game_level = std::max(0, std::min(highest_difficulty, level)); }

int computer_difficulty() { return game_level; }

difficulty_profile profile_for(int level) {
  level = std::max(lowest_difficulty, std::min(highest_difficulty, level));
  return profiles[level - 1];
}

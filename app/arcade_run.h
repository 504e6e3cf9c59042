// Arcade: the player's fighter meets every other fighter of the roster in
// turn, each a match under the run's rules, the computer one level stronger
// per opponent. A lost match offers Continue (the same opponent again) or
// Quit to menu; after the last win a closing screen shows the fighter, the
// time the run took and the continues used.
#pragma once
#include <string>
#include <vector>

#include "app/settings.h"

class fight_setup;

// The opponents for roster position `picked` out of `roster` fighters: every
// other position, in roster order.
std::vector<int> arcade_opponents(int picked, int roster);
// The computer's level against opponent `round` (0 the first): the options'
// `base` level plus one per opponent before, at most the highest level.
int arcade_level(int base, int round);
// "m:ss" for a number of frames at `fps`.
std::string arcade_time_text(long frames, int fps);

struct arcade_pictures {
  std::string ending_file;  // game.ini's arcade_ending: the closing screen's picture; empty: a plain screen
};

struct arcade_result {
  bool finished = false;  // every opponent beaten
  int continues = 0;
  long frames = 0;        // presented from the first fight's start to the last one's end
};

// Plays the ladder. The fighters are set up on `setup` for each fight (with
// start_fight the first time when `placed` is false, which it then sets).
// Ends on a finish (after the closing screen), on Quit to menu, or on a quit
// request; the computer's level is put back to `s.difficulty`.
arcade_result run_arcade(fight_setup& setup, bool& placed, int picked, const game_settings& s,
                         const arcade_pictures& pictures, const std::string& fight_music);

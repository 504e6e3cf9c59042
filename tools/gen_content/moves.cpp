#include "moves.h"

// Impact frames last one tick: a frame's sound starts on every tick it is
// drawn, so the strike is a one-tick frame followed by a silent hold.
const std::vector<MoveSpec>& move_table() {
  static const std::vector<MoveSpec> t = [] {
    MoveSpec punch{"punch", {{"punch1", 3, ""}, {"punch2", 1, "punch"}, {"punch3", 5, ""}, {"punch4", 3, ""}}};
    MoveSpec hit{"hit", {{"hit1", 1, "hit"}, {"hit1", 4, ""}, {"hit2", 6, ""}, {"hit3", 6, ""}}};
    MoveSpec kick{"kick", {{"kick1", 4, ""}, {"kick2", 1, "kick"}, {"kick3", 6, ""}, {"kick4", 4, ""}}};
    MoveSpec upper{"uppercut",
                   {{"upper1", 4, ""}, {"upper2", 1, "punch", 0, 3}, {"upper3", 7, ""}, {"punch4", 3, ""}}};
    MoveSpec round{"roundhouse", {{"round1", 5, ""}, {"round2", 1, "kick"}, {"round3", 7, ""}, {"kick4", 4, ""}}};
    MoveSpec chit{"hit_crouch", {{"chit1", 1, "hit"}, {"chit1", 5, ""}, {"chit2", 8, ""}}};
    MoveSpec ahit{"hit_air", {{"ahit1", 1, "hit"}, {"ahit1", 5, ""}, {"ahit2", 6, ""}, {"ahit3", 6, ""}}};
    MoveSpec cpunch{"crouch_punch",
                    {{"cpunch1", 3, ""}, {"cpunch2", 1, "punch"}, {"cpunch3", 5, ""}, {"cpunch1", 3, ""}}};
    MoveSpec ckick{"crouch_kick",
                   {{"ckick1", 4, ""}, {"ckick2", 1, "kick"}, {"ckick3", 6, ""}, {"ckick1", 3, ""}}};
    MoveSpec apunch{"air_punch",
                    {{"apunch1", 3, ""}, {"apunch2", 1, "punch"}, {"apunch3", 6, ""}, {"apunch1", 3, ""}}};
    MoveSpec akick{"air_kick", {{"akick1", 3, ""}, {"akick2", 1, "kick"}, {"akick3", 8, ""}, {"akick1", 3, ""}}};
    MoveSpec special{"special",
                     {{"special1", 6, ""},
                      {"special2", 6, ""},
                      {"special3", 1, "special", 1, 8, 160, 16},
                      {"special3", 6, ""},
                      {"special4", 6, ""},
                      {"punch4", 4, ""}}};
    MoveSpec ball{"projectile",
                  {{"ball1", 3, ""}, {"ball2", 3, ""}, {"ball3", 3, ""}, {"ball4", 3, ""}, {"ball1", 3, ""},
                   {"ball2", 3, ""}}};
    MoveSpec dash{"dash",
                  {{"dash1", 1, "dash"}, {"dash1", 3, ""}, {"dash2", 4, ""}, {"dash3", 4, ""}, {"dash1", 4, ""},
                   {"dash2", 4, ""}}};
    // Slots 2 and 14 are never played by a fighter; they reuse the punch.
    return std::vector<MoveSpec>{punch, hit,    punch,  kick,   upper, round,   chit, ahit,
                                 cpunch, ckick, apunch, akick, special, ball, punch, dash};
  }();
  return t;
}

const std::vector<std::string>& posture_pictures() {
  static const std::vector<std::string> p = {"stand",  "air",       "crouch",    "block",      "punch3",
                                             "hit2",   "block_air", "block_hit", "block_slide"};
  return p;
}

const std::vector<std::string>& sound_names() {
  static const std::vector<std::string> s = {"punch", "kick", "hit", "special", "dash"};
  return s;
}

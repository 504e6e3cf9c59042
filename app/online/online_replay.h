// The replay of an online fight: both sides write the same file, made of the
// confirmed actions of both entries frame by frame (p1 is the host's entry 1,
// p2 the guest's entry 0; frame N is the fight's Nth step) and the confirmed
// state's hash every 60 frames, with the host's seed and rules, so either
// machine keeps the same record of the match and --replay plays it again.
#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "fighter/player_actions.h"

class rollback_engine;
struct run_options;
struct game_settings;

class online_replay {
 public:
  // Notes every frame the engine has confirmed since the last call, and the hashes of its confirmed states.
  void take_confirmed(const rollback_engine& engine);
  // Forgets the frames after `frame` (the match was decided there).
  void cut_after(int frame);
  int frames() const { return static_cast<int>(frames_.size()); }
  // The whole text: header (with the match rules in force), then "FRAME p1|p2
  // ACTIONS" where a player's actions change and "FRAME check HEX", then the end.
  std::string text(const game_settings& settings, unsigned seed, int host_pick, int guest_pick) const;
  // To --record FILE when given, else among the player's saved replays; says where in the log.
  void save(const run_options& options, const game_settings& settings, unsigned seed, int host_pick,
            int guest_pick) const;

 private:
  std::vector<std::array<player_actions, 2>> frames_;  // by frame: the first player's, the second's
  std::map<int, uint64_t> checks_;                      // the state as the frame begins
};

// The recorded replays under tests/replays/, played back with their state
// checks: any change to the fight's simulation fails here until the replays
// are re-recorded on purpose (scripts/rerecord_replays.sh).
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/run_game.h"
#include "support/test_env.h"

inline const char* bundled_replay_data() { return std::getenv("GAME_DATA_DIR"); }

// Plays `replay_file` in the given drawing mode ("--software" or "--opengl").
inline game_run play_replay(const std::string& replay_file, const std::string& mode) {
  std::vector<std::string> env = {"SDL_AUDIODRIVER=dummy"};
  if (mode == "--opengl") {
    const char* display = std::getenv("DISPLAY");
    env.push_back(std::string("DISPLAY=") + (display ? display : ""));
    env.push_back("SDL12COMPAT_OPENGL_SCALING=0");
  } else {
    env.push_back("SDL_VIDEODRIVER=dummy");
  }
  return run_fight({"--data-dir", bundled_replay_data(), "--replay", replay_file, "--no-limiter", mode}, env);
}

inline void expect_every_replay_matches(const std::string& mode) {
  for (const char* name : {"walk_jump", "combos", "ko", "match"}) {
    SCOPED_TRACE(name);
    const std::string file = source_path(std::string("tests/replays/") + name + ".replay");
    const game_run r = play_replay(file, mode);
    EXPECT_EQ(0, r.exit_status) << r.err;
    EXPECT_NE(std::string::npos, r.out.find("every check matched")) << r.err;
  }
}

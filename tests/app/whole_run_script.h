// The key script and the checks shared by the whole-run tests in both drawing
// modes: logo, select (RETURN), the fight (walk in, punches, the combo
// down-up), Escape. Needs the bundled data tree named by GAME_DATA_DIR.
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "support/run_game.h"
#include "support/test_env.h"

inline const char* whole_run_keys =
    "0 return down\n"    // confirms on the select screen's first sample
    "140 return up\n"
    "160 left down\n"    // towards the computer's fighter
    "200 left up\n"
    "200 i down\n204 i up\n210 i down\n214 i up\n220 i down\n224 i up\n"
    "230 down down\n234 down up\n238 up down\n242 up up\n"  // combo: down, up
    "250 i down\n254 i up\n260 i down\n264 i up\n"
    "290 escape down\n";

struct whole_run_result {
  game_run run;
  double seconds = 0.0;
};

inline whole_run_result run_whole_fight(const std::string& data, std::vector<std::string> extra_args,
                                        std::vector<std::string> env) {
  const std::string dir = make_temp_dir("whole_run");
  write_text_file(dir, "keys.txt", whole_run_keys);
  std::vector<std::string> args = {"--data-dir", data, "--seed", "1", "--script", dir + "/keys.txt", "--frames", "2000"};
  args.insert(args.end(), extra_args.begin(), extra_args.end());
  env.push_back("GAME_FIGHT_TRACE=1");
  const auto start = std::chrono::steady_clock::now();
  whole_run_result r;
  r.run = run_fight(args, env);
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return r;
}

// Frame number of a "fight trace: frame [N] ..." line containing `what`, or -1.
inline long trace_frame(const std::string& err, const std::string& what) {
  const size_t at = err.find(what);
  if (at == std::string::npos) return -1;
  const size_t line = err.rfind("fight trace: frame [", at);
  if (line == std::string::npos) return -1;
  return std::strtol(err.c_str() + line + 20, nullptr, 10);
}

inline void expect_whole_fight(const whole_run_result& r) {
  const std::string& err = r.run.err;
  EXPECT_EQ(0, r.run.exit_status) << err;
  // Logo, select and set-up came first.
  EXPECT_NE(std::string::npos, r.run.out.find("Scrolling Max for level")) << r.run.out;
  const long start = trace_frame(err, "] fight starts");
  const long end = trace_frame(err, "] fight ends");
  ASSERT_GT(start, 0) << err;
  // Escape (frame 290) ended the run, not the frame limit.
  EXPECT_GE(end, 290) << err;
  EXPECT_LT(end, 300) << err;
  // A hit landed on the computer's fighter; the player's combo showed its message.
  EXPECT_NE(std::string::npos, err.find("entry [0] hp [150] -> [")) << err;
  const long combo = trace_frame(err, "entry [1] combo [1]");
  EXPECT_GT(combo, 238) << err;
  EXPECT_NE(std::string::npos, err.find("text [Combo[1]] at [")) << err;
  std::printf("whole run: %ld frames presented (fight frames %ld..%ld) in %.2f s\n", end + 1, start, end, r.seconds);
}

// The bundled tree without the match keys: these runs script one endless fight.
inline const char* bundled_data() {
  static std::string dir;
  const char* env = std::getenv("GAME_DATA_DIR");
  if (!env) return nullptr;
  dir = without_match_keys(env);
  return dir.c_str();
}

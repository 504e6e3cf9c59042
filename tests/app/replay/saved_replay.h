// A run driven by a key script that presses F9 in the middle of a round of the
// bundled game's match, from a data directory of its own (a copy of the
// bundled one: links would lead out of it, and the game refuses those), with
// the player's data folder beside it where the replay lands, and that replay
// played back.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "support/run_game.h"
#include "support/test_env.h"

struct saved_replay_run {
  std::string root;   // holds data/ (the run's data directory) and the player's home
  std::string saved;  // the file the log line names, empty when none
  game_run run;
};

inline std::vector<std::string> saved_replay_env(const std::string& mode, const std::string& home) {
  std::vector<std::string> env = {"SDL_AUDIODRIVER=dummy", "HOME=" + home, "XDG_DATA_HOME=" + home + "/share"};
  if (mode == "--opengl") {
    const char* display = std::getenv("DISPLAY");
    env.push_back(std::string("DISPLAY=") + (display ? display : ""));
    env.push_back("SDL12COMPAT_OPENGL_SCALING=0");
  } else {
    env.push_back("SDL_VIDEODRIVER=dummy");
  }
  return env;
}

// Picks a fighter, walks, jumps and punches, saves at frame 400 and goes on to 460.
inline saved_replay_run run_pressing_f9(const std::string& mode) {
  namespace fs = std::filesystem;
  saved_replay_run r;
  r.root = make_temp_dir("saved_replay");
  const fs::path data = fs::path(r.root) / "data";
  fs::copy(without_main_menu(bundled_data_dir()), data, fs::copy_options::recursive);
  write_text_file(r.root, "keys",
                  "0 return down\n140 return up\n160 left down\n220 left up\n230 up down\n240 up up\n"
                  "260 right down\n300 right up\n310 i down\n314 i up\n330 down down\n360 down up\n"
                  "400 f9 down\n402 f9 up\n");
  r.run = run_fight({"--data-dir", data.string(), "--script", r.root + "/keys", "--seed", "3", "--frames", "460",
                     "--no-limiter", mode},
                    saved_replay_env(mode, r.root + "/home"));
  std::smatch m;
  if (std::regex_search(r.run.out, m, std::regex("NOTICE: replay of the run so far \\(400 frames\\) saved as (\\S+)\n"))) {
    r.saved = m[1].str();
  }
  return r;
}

// `frozen_clock_too`: the same replay with its clock lines stopped at one
// time must then stop at a check, so playback is seen to read those lines.
inline void expect_saved_replay_plays_back(const std::string& mode, bool frozen_clock_too) {
  if (bundled_data_dir().empty()) GTEST_SKIP() << "no bundled data (build/data)";
  const saved_replay_run r = run_pressing_f9(mode);
  ASSERT_EQ(0, r.run.exit_status) << r.run.err;
  ASSERT_FALSE(r.saved.empty()) << r.run.out;
  EXPECT_EQ(0u, r.saved.find(r.root + "/home/share/veltmoore-brawl/replays/")) << r.saved;
  EXPECT_TRUE(std::regex_search(r.saved, std::regex("/[0-9]{8}-[0-9]{6}\\.replay$"))) << r.saved;
  // The whole bundled game ran: a match, pictures and all.
  EXPECT_NE(std::string::npos, r.run.out.find("round [1] begins")) << r.run.out;
  EXPECT_EQ(std::string::npos, r.run.out.find("leads out of the data directory")) << r.run.out;
  // Nothing new inside the data directory.
  std::vector<std::string> in_data;
  for (const auto& e : std::filesystem::recursive_directory_iterator(r.root + "/data")) {
    if (e.path().extension() == ".replay") in_data.push_back(e.path().string());
  }
  EXPECT_TRUE(in_data.empty()) << in_data.front();

  const game_run played = run_fight({"--data-dir", r.root + "/data", "--replay", r.saved, "--no-limiter", mode},
                                    saved_replay_env(mode, r.root + "/home"));
  EXPECT_EQ(0, played.exit_status) << played.err;
  EXPECT_NE(std::string::npos, played.out.find("ended at frame 400, every check matched")) << played.err;
  if (!frozen_clock_too) return;

  const std::string frozen = std::regex_replace(read_file(r.saved), std::regex("\n([0-9]+) clock [0-9 ]+"),
                                                "\n$1 clock 5000");
  write_text_file(r.root, "frozen.replay", frozen);
  const game_run stopped = run_fight(
      {"--data-dir", r.root + "/data", "--replay", r.root + "/frozen.replay", "--no-limiter", mode},
      saved_replay_env(mode, r.root + "/home"));
  EXPECT_EQ(3, stopped.exit_status) << stopped.err;
  EXPECT_NE(std::string::npos, stopped.err.find("desynchronised at frame")) << stopped.err;
}

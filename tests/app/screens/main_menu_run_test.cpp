// The main menu inside whole runs of the bundled game with main_menu=1:
// Options changes are in force at once, saved, found again by the next run,
// and played back the same by a replay of the run that made them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/run_game.h"
#include "support/test_env.h"

namespace {

const std::vector<std::string> traced = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "GAME_FIGHT_TRACE=1"};

// The bundled tree with the main menu switched on.
std::string data_with_main_menu() {
  const std::string bundled = bundled_data_dir();
  if (bundled.empty()) return "";
  const std::string dir = make_temp_dir("main_menu_data");
  std::filesystem::copy(bundled, dir, std::filesystem::copy_options::recursive);
  std::ofstream(dir + "/game/game.ini", std::ios::app) << "main_menu=1\n";
  return dir;
}

// The titles take frames 0..95; the menu shows from frame 96.
// Up twice (past Quit) to Options: difficulty 3 -> 4, rounds 2 -> 1, round time 60 -> 30; Escape back;
// down past Quit and Arcade to Versus; the select screen's Return.
const char* const options_then_versus =
    "124 up down\n126 up up\n130 up down\n132 up up\n140 return down\n142 return up\n"
    "150 right down\n152 right up\n"
    "160 down down\n162 down up\n170 left down\n172 left up\n"
    "180 down down\n182 down up\n190 left down\n192 left up\n200 left down\n202 left up\n"
    "210 escape down\n212 escape up\n"
    "214 down down\n216 down up\n218 down down\n220 down up\n222 down down\n224 down up\n"
    "230 return down\n234 return up\n"
    "250 return down\n254 return up\n";

size_t trace_at(const std::string& err, const std::string& what, size_t from = 0) {
  return find_after(err, what, from);
}

}  // namespace

TEST(MainMenuRun, OptionsAreAppliedSavedAndFoundByTheNextRun) {
  const std::string data = data_with_main_menu();
  if (data.empty()) GTEST_SKIP() << "no bundled data";
  const std::string dir = make_temp_dir("main_menu_walk");
  const std::string settings = dir + "/settings.ini";
  // The computer wins the one round by frame 936; on the result menu, Main
  // menu (the third choice); on the main menu, Escape to Quit, and Return.
  write_text_file(dir, "walk.txt",
                  std::string(options_then_versus) +
                      "1000 down down\n1002 down up\n1010 down down\n1012 down up\n1020 return down\n1022 return up\n"
                      "1100 escape down\n1102 escape up\n1120 return down\n1122 return up\n");
  game_run run = run_fight({"--data-dir", data, "--settings", settings, "--seed", "1", "--script", dir + "/walk.txt",
                            "--frames", "2600", "--screenshot", "120:" + dir + "/menu.png", "--screenshot",
                            "155:" + dir + "/options.png"},
                           traced);
  ASSERT_EQ(0, run.exit_status) << run.err;
  const std::string& err = run.err;
  size_t at = trace_at(err, "frame [96] menu [Veltmoore Brawl] at [Arcade]");
  at = trace_at(err, "frame [140] menu [Options] at [Difficulty] value [3]", at);
  at = trace_at(err, "frame [150] menu [Options] at [Difficulty] value [4]", at);
  at = trace_at(err, "frame [200] menu [Options] at [Round time] value [30 s]", at);
  at = trace_at(err, "frame [210] menu [Veltmoore Brawl] at [Options]", at);
  at = trace_at(err, "] fight starts", at);
  // One round to win: the first knock-out ends the match, whose menu leads back to the main menu.
  at = trace_at(err, "text [Main menu]", at);
  EXPECT_EQ(std::string::npos, err.find("text [Round 2]")) << err;
  at = trace_at(err, "] fight ends", at);
  at = trace_at(err, "menu [Veltmoore Brawl] at [Arcade]", at);
  at = trace_at(err, "frame [1100] menu [Veltmoore Brawl] at [Quit]", at);
  ASSERT_NE(std::string::npos, at) << err;
  // Quit ended the run, not the frame limit.
  EXPECT_EQ(std::string::npos, err.find("frame [1300]")) << err;
  EXPECT_TRUE(std::filesystem::exists(dir + "/menu.png"));
  EXPECT_TRUE(std::filesystem::exists(dir + "/options.png"));
  std::printf("menu screenshots: %s/menu.png %s/options.png\n", dir.c_str(), dir.c_str());

  const std::string saved = read_file(settings);
  EXPECT_NE(std::string::npos, saved.find("difficulty=4\n")) << saved;
  EXPECT_NE(std::string::npos, saved.find("rounds=1\n")) << saved;
  EXPECT_NE(std::string::npos, saved.find("round_time=30\n")) << saved;

  // The next run opens the options as they were left; Escape twice on the
  // main menu quits (the first moves to Quit).
  write_text_file(dir, "again.txt",
                  "124 up down\n126 up up\n130 up down\n132 up up\n140 return down\n142 return up\n"
                  "150 escape down\n152 escape up\n"
                  "160 escape down\n162 escape up\n170 escape down\n172 escape up\n");
  game_run again = run_fight(
      {"--data-dir", data, "--settings", settings, "--seed", "1", "--script", dir + "/again.txt", "--frames", "600"},
      traced);
  ASSERT_EQ(0, again.exit_status) << again.err;
  at = trace_at(again.err, "frame [140] menu [Options] at [Difficulty] value [4]");
  at = trace_at(again.err, "frame [160] menu [Veltmoore Brawl] at [Quit]", at);
  EXPECT_NE(std::string::npos, at) << again.err;
  EXPECT_EQ(std::string::npos, again.err.find("frame [300]")) << again.err;
  EXPECT_EQ(std::string::npos, again.out.find("stage_veltmoore")) << again.out;  // no fight
}

// A recording starts before the menu: its header holds the rules the run
// started with, and the replay walks the same options to the same fight.
TEST(MainMenuRun, ARunRecordedAfterOptionsChangesPlaysBackTheSame) {
  const std::string data = data_with_main_menu();
  if (data.empty()) GTEST_SKIP() << "no bundled data";
  const std::string dir = make_temp_dir("main_menu_replay");
  write_text_file(dir, "walk.txt", options_then_versus);
  // The player's own file starts at a level the options then change.
  write_text_file(dir, "settings.ini", "difficulty=1\n");
  const std::string replay = dir + "/run.replay";
  game_run recorded = run_fight({"--data-dir", data, "--settings", dir + "/settings.ini", "--seed", "7", "--script",
                                 dir + "/walk.txt", "--frames", "900", "--record", replay},
                                traced);
  ASSERT_EQ(0, recorded.exit_status) << recorded.err;
  EXPECT_NE(std::string::npos, recorded.err.find("menu [Options] at [Difficulty] value [2]")) << recorded.err;
  EXPECT_NE(std::string::npos, read_file(dir + "/settings.ini").find("difficulty=2\n"));
  // Played back for a player whose own file says otherwise: the header and
  // the walk decide, and the replay's walk saves nothing.
  write_text_file(dir, "other.ini", "difficulty=5\nrounds=3\n");
  game_run played = run_fight(
      {"--data-dir", data, "--settings", dir + "/other.ini", "--replay", replay, "--no-limiter", "--frames", "2000"},
      traced);
  EXPECT_EQ(0, played.exit_status) << played.err;
  EXPECT_NE(std::string::npos, played.out.find("every check matched")) << played.out << played.err;
  EXPECT_NE(std::string::npos, played.err.find("menu [Options] at [Difficulty] value [2]")) << played.err;
  EXPECT_EQ("difficulty=5\nrounds=3\n", read_file(dir + "/other.ini"));
}

// Options, Controls: punch rebound by pressing j, kick by pressing the key
// punch just gave up; saved at once, shown again by the next run, and put
// back by Reset to defaults.
TEST(MainMenuRun, ControlsAreReboundByPressingAKeyAndKeptInTheSettings) {
  const std::string data = data_with_main_menu();
  if (data.empty()) GTEST_SKIP() << "no bundled data";
  const std::string dir = make_temp_dir("controls_walk");
  const std::string settings = dir + "/settings.ini";
  // Main menu: up twice to Options; options: up twice to Controls;
  // controls: down four times from Up to Punch.
  const std::string to_punch =
      "104 up down\n106 up up\n110 up down\n112 up up\n120 return down\n122 return up\n130 up down\n132 up up\n136 up down\n138 up up\n"
      "146 return down\n148 return up\n156 down down\n158 down up\n160 down down\n162 down up\n"
      "164 down down\n166 down up\n168 down down\n170 down up\n";
  write_text_file(dir, "walk.txt",
                  to_punch +
                      "180 return down\n182 return up\n190 j down\n192 j up\n"
                      "200 down down\n202 down up\n210 return down\n212 return up\n220 i down\n222 i up\n");
  game_run run = run_fight({"--data-dir", data, "--settings", settings, "--script", dir + "/walk.txt", "--frames",
                            "240", "--screenshot", "185:" + dir + "/controls.png"},
                           traced);
  ASSERT_EQ(0, run.exit_status) << run.err;
  size_t at = trace_at(run.err, "frame [180] menu [Controls] at [Punch] value [press a key or button]");
  at = trace_at(run.err, "frame [190] menu [Controls] at [Punch] value [j, joy0 button 0]", at);
  at = trace_at(run.err, "frame [220] menu [Controls] at [Kick] value [i, joy0 button 1]", at);
  EXPECT_NE(std::string::npos, at) << run.err;
  std::printf("controls screenshot: %s/controls.png\n", dir.c_str());
  const std::string saved = read_file(settings);
  EXPECT_NE(std::string::npos, saved.find("\np1_punch=j, joy0 button 0\np1_kick=i, joy0 button 1\n")) << saved;
  EXPECT_EQ(std::string::npos, saved.find("p1_up")) << saved;  // only what differs from the defaults

  // The next run shows them; Reset to defaults (five rows down from Punch) undoes both.
  std::string reset = to_punch;
  for (int i = 0; i < 5; ++i) {
    const int f = 180 + 4 * i;
    reset += std::to_string(f) + " down down\n" + std::to_string(f + 2) + " down up\n";
  }
  reset += "210 return down\n212 return up\n";
  write_text_file(dir, "reset.txt", reset);
  game_run again = run_fight({"--data-dir", data, "--settings", settings, "--script", dir + "/reset.txt", "--frames",
                              "230"},
                             traced);
  ASSERT_EQ(0, again.exit_status) << again.err;
  at = trace_at(again.err, "frame [168] menu [Controls] at [Punch] value [j, joy0 button 0]");
  at = trace_at(again.err, "menu [Controls] at [Reset to defaults]", at);
  EXPECT_NE(std::string::npos, at) << again.err;
  const std::string after = read_file(settings);
  EXPECT_EQ(std::string::npos, after.find("p1_")) << after;
  EXPECT_NE(std::string::npos, after.find("difficulty=3\n")) << after;
}

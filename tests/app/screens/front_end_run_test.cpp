// Arcade and Replays from the bundled game's main menu, whole runs driven by
// key scripts: what a player walks through, told by the fight trace.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/run_game.h"
#include "support/test_env.h"

namespace {

const std::vector<std::string> traced = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "GAME_FIGHT_TRACE=1"};

// Frame of the first `what` at or after `from` in the trace; -1 when absent.
long frame_of(const std::string& err, const std::string& what, size_t from = 0) {
  const size_t at = err.find(what, from);
  if (at == std::string::npos) return -1;
  const size_t open = err.rfind("frame [", at);
  return open == std::string::npos ? -1 : std::atol(err.c_str() + open + 7);
}

}  // namespace

// Arcade: the first opponent at the options' level; lost, Continue meets it
// again; lost again, Quit to menu is back on the main menu.
TEST(FrontEndRun, ArcadeLostOffersContinueThenQuitToMenu) {
  const std::string data = bundled_data_dir();
  if (data.empty()) GTEST_SKIP() << "no bundled data";
  const std::string dir = make_temp_dir("arcade_walk");
  // One round of ten seconds at level 1; the player stands still and loses.
  write_text_file(dir, "settings.ini", "difficulty=1\nrounds=1\nround_time=10\n");
  write_text_file(dir, "walk.txt",
                  "100 return down\n104 return up\n160 return down\n164 return up\n"  // Arcade, the first fighter
                  "1100 return down\n1104 return up\n"                                // Continue
                  "1950 down down\n1952 down up\n1960 return down\n1964 return up\n"  // Quit to menu
                  "2000 escape down\n2002 escape up\n2010 return down\n2012 return up\n");
  game_run run = run_fight({"--data-dir", data, "--settings", dir + "/settings.ini", "--seed", "2", "--script",
                            dir + "/walk.txt", "--no-limiter", "--frames", "2300", "--screenshot",
                            "1050:" + dir + "/lost.png"},
                           traced);
  ASSERT_EQ(0, run.exit_status) << run.err;
  EXPECT_NE(std::string::npos, run.out.find("NOTICE: arcade fight [1] of [3]: roster position [1] at level [1]\n"))
      << run.out;
  const std::string& err = run.err;
  // Lost by frame 1100 (the menu shows Continue chosen); Continue: the same
  // opponent once more, a second match's round 1; lost again, Quit to menu.
  const long first_result = frame_of(err, "text [> Continue <]");
  EXPECT_GT(first_result, 0) << err;
  EXPECT_LT(first_result, 1100) << err;
  size_t rounds = 0;
  for (size_t at = run.out.find("round [1] begins"); at != std::string::npos; at = run.out.find("round [1] begins", at + 1)) ++rounds;
  EXPECT_EQ(2u, rounds) << run.out;
  EXPECT_EQ(std::string::npos, run.out.find("arcade fight [2]")) << run.out;
  EXPECT_GE(frame_of(err, "text [> Quit to menu <]"), 1950) << err;
  EXPECT_GT(frame_of(err, "menu [Veltmoore Brawl] at [Arcade]", err.find("fight ends")), 1960) << err;
  EXPECT_EQ(-1, frame_of(err, "frame [2100]")) << "Quit on the main menu ended the run";
  std::printf("arcade result screenshot: %s/lost.png\n", dir.c_str());
}

// Replays: a run saved with F9 is listed with its length, plays in a game of
// its own, and Delete then Yes removes it.
TEST(FrontEndRun, ReplaysAreListedPlayedAndDeleted) {
  const std::string data = bundled_data_dir();
  if (data.empty()) GTEST_SKIP() << "no bundled data";
  const std::string dir = make_temp_dir("replays_walk");
  std::vector<std::string> env = traced;
  env.push_back("XDG_DATA_HOME=" + dir + "/share");
  write_text_file(dir, "save.txt", "120 f9 down\n122 f9 up\n");
  game_run saved = run_fight({"--data-dir", data, "--no-settings", "--script", dir + "/save.txt", "--frames", "130"}, env);
  ASSERT_EQ(0, saved.exit_status) << saved.err;
  const std::string folder = dir + "/share/veltmoore-brawl/replays";
  ASSERT_EQ(1, std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()));
  // Up past Quit and Options to Replays; Return plays it; Delete, up to Yes, Return.
  write_text_file(dir, "walk.txt",
                  "100 up down\n102 up up\n104 up down\n106 up up\n108 up down\n110 up up\n"
                  "120 return down\n122 return up\n130 return down\n132 return up\n"
                  "150 delete down\n152 delete up\n160 up down\n162 up up\n170 return down\n172 return up\n");
  game_run run = run_fight({"--data-dir", data, "--no-settings", "--script", dir + "/walk.txt", "--frames", "200",
                            "--screenshot", "140:" + dir + "/replays.png"},
                           env);
  ASSERT_EQ(0, run.exit_status) << run.err;
  EXPECT_NE(std::string::npos, run.err.find("menu [Replays (1)] at [")) << run.err;
  EXPECT_NE(std::string::npos, run.err.find("  ?] value [no result  0:02]")) << run.err;
  EXPECT_NE(std::string::npos, run.out.find("NOTICE: playing the replay " + folder)) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("ended at frame 120, every check matched")) << run.out;
  EXPECT_NE(std::string::npos, run.err.find("menu [Delete this replay?] at [Yes]")) << run.err;
  EXPECT_NE(std::string::npos, run.out.find("NOTICE: replay " + folder)) << run.out;
  EXPECT_TRUE(std::filesystem::is_empty(folder));
  std::printf("replays screenshot: %s/replays.png\n", dir.c_str());
}

// Training from the main menu: the player's fighter, then the dummy, on the
// select screen; the training menu's Quit is back on the main menu, and a
// match played after it has its rounds again.
TEST(FrontEndRun, TrainingPicksFighterThenDummyAndQuitsToTheMenu) {
  const std::string data = bundled_data_dir();
  if (data.empty()) GTEST_SKIP() << "no bundled data";
  const std::string dir = make_temp_dir("training_walk");
  write_text_file(dir, "settings.ini", "rounds=1\nround_time=30\n");
  std::string walk =
      "100 down down\n102 down up\n104 down down\n106 down up\n110 return down\n112 return up\n"  // Training
      "170 right down\n172 right up\n180 return down\n182 return up\n"                           // Kastrell
      "300 left down\n302 left up\n310 return down\n312 return up\n"                             // Dravitz, the dummy
      "500 escape down\n502 escape up\n";                                                        // the training menu
  for (int k = 0; k < 8; ++k) {  // the menu takes keys once it has been up a moment
    walk += std::to_string(560 + 4 * k) + " down down\n" + std::to_string(562 + 4 * k) + " down up\n";
  }
  walk += "600 return down\n602 return up\n"                                                 // Quit
          "700 down down\n702 down up\n710 return down\n712 return up\n"  // Versus
          "780 return down\n782 return up\n";
  write_text_file(dir, "walk.txt", walk);
  game_run run = run_fight({"--data-dir", data, "--settings", dir + "/settings.ini", "--seed", "3", "--script",
                            dir + "/walk.txt", "--no-limiter", "--frames", "1100"},
                           traced);
  ASSERT_EQ(0, run.exit_status) << run.err;
  const std::string& err = run.err;
  const long dummy_pick = frame_of(err, "text [Choose the dummy]");
  EXPECT_GT(dummy_pick, 182) << err;
  EXPECT_LT(dummy_pick, 300) << err;
  EXPECT_GT(frame_of(err, "fight starts"), 312) << err;
  EXPECT_NE(std::string::npos, run.out.find("load config [game\\fighter\\kastrell_char.ini]")) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("load config [game\\fighter\\dravitz_char.ini]")) << run.out;
  EXPECT_GT(frame_of(err, "text [> Quit <]"), 560) << err;
  const size_t training_ends = err.find("fight ends");
  ASSERT_NE(std::string::npos, training_ends) << err;
  EXPECT_GT(frame_of(err, "menu [Veltmoore Brawl] at [Arcade]", training_ends), 600) << err;
  // Training plays no rounds; the match after it does again.
  EXPECT_EQ(std::string::npos, err.rfind("text [Round 1]", training_ends)) << err;
  EXPECT_NE(std::string::npos, err.find("text [Round 1]", training_ends)) << err;
}

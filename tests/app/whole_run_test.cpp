// The whole run in software mode, headless, driven by a key script.
#include "whole_run_script.h"

namespace {

TEST(WholeRun, LogoSelectFightHitComboEscapeInSoftwareMode) {
  const char* data = bundled_data();
  if (!data) GTEST_SKIP() << "GAME_DATA_DIR (the bundled data, build/data) is not set";
  whole_run_result r = run_whole_fight(data, {"--software"}, {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"});
  expect_whole_fight(r);
  EXPECT_EQ(std::string::npos, r.run.out.find("Setting up OpenGL 2D"));
}

TEST(WholeRun, QuitOnTheSelectScreenSkipsTheFight) {
  const char* data = bundled_data();
  if (!data) GTEST_SKIP() << "GAME_DATA_DIR (the bundled data, build/data) is not set";
  const std::string dir = make_temp_dir("whole_run_quit");
  write_text_file(dir, "keys.txt", "0 escape down\n");
  game_run run = run_fight({"--data-dir", data, "--script", dir + "/keys.txt", "--frames", "2000"},
                           {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "GAME_FIGHT_TRACE=1"});
  EXPECT_EQ(0, run.exit_status);
  EXPECT_EQ(std::string::npos, run.out.find("Scrolling Max for level"));
  EXPECT_EQ(std::string::npos, run.err.find("fight starts"));
}

}  // namespace

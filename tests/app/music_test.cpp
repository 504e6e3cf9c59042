// Music that is missing or doesn't decode is a WARNING and silence: the game
// starts, and the fight runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_game.h"
#include "support/test_env.h"

TEST(Music, AMissingOrBrokenMusicFileIsAWarningAndTheGameGoesOn) {
  const std::string data = bundled_data_dir();
  if (data.empty()) GTEST_SKIP() << "no bundled data (GAME_DATA_DIR)";
  namespace fs = std::filesystem;
  const std::string tree = make_temp_dir("music_broken") + "/data";
  fs::copy(data, tree, fs::copy_options::recursive);
  // The menu music names no file; the stage's is a text file dressed as a WAV.
  write_text_file(tree, "game/game.ini", read_file(tree + "/game/game.ini") + "music=rsrc\\music\\absent.wav\n");
  std::string stage = read_file(tree + "/rsrc/veltmoore/stage_veltmoore.ini");
  stage.replace(stage.find("music="), std::string("music=").size(), "music=rsrc\\music\\broken.wav ignored=");
  write_text_file(tree, "rsrc/veltmoore/stage_veltmoore.ini", stage);
  write_text_file(tree, "rsrc/music/broken.wav", "RIFF not really a wave\n");

  const game_run run = run_fight({"--data-dir", tree, "--no-settings", "--no-limiter", "--demo", "--fighter", "0", "--seed", "1",
                                  "--benchmark", "5"},
                                 {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"});
  ASSERT_EQ(0, run.exit_status) << run.out << run.err;
  const size_t menu = run.out.find("loading music [rsrc\\music\\menu_loop.wav]");  // the first key counts
  EXPECT_NE(std::string::npos, menu) << run.out;
  const size_t broken = run.out.find("loading music [rsrc\\music\\broken.wav]\n"
                                     "WARNING: can't play the music rsrc\\music\\broken.wav: ");
  EXPECT_NE(std::string::npos, broken) << run.out;
  EXPECT_LT(menu, broken);
  EXPECT_NE(std::string::npos, run.out.find("benchmark: frames run [5]")) << run.out;

  // A missing file, named first this time.
  write_text_file(tree, "game/game.ini", "music=rsrc\\music\\absent.wav\n" + read_file(tree + "/game/game.ini"));
  const game_run missing = run_fight({"--data-dir", tree, "--no-settings", "--no-limiter", "--demo", "--fighter", "0", "--benchmark",
                                      "1"},
                                     {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"});
  ASSERT_EQ(0, missing.exit_status) << missing.out << missing.err;
  EXPECT_NE(std::string::npos, missing.out.find("loading music [rsrc\\music\\absent.wav]\n"
                                                "WARNING: can't play the music rsrc\\music\\absent.wav: "))
      << missing.out;
}

// A whole training run of the bundled game, driven by a key script: nothing
// is saved unless F9 is pressed, and what F9 saves plays back as the same
// training, check for check.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "support/run_game.h"
#include "support/test_env.h"

namespace {

// Records a jump-kick for the dummy and plays it back, resets the position,
// performs Morvane's special move; the fight starts at frame 114.
const char* const training_keys =
    "130 f5 down\n131 f5 up\n135 up down\n137 up up\n142 k down\n146 k up\n175 f5 down\n176 f5 up\n"
    "180 f6 down\n181 f6 up\n300 backspace down\n301 backspace up\n330 backspace down\n331 backspace up\n"
    "360 right down\n363 right up\n365 down down\n368 down up\n370 i down\n373 i up\n";

TEST(TrainingRun, SavesAReplayOnlyWhenAskedAndThatReplayPlaysBackAsTraining) {
  const std::string data = bundled_data_dir();
  if (data.empty()) GTEST_SKIP() << "no bundled data (build/data)";
  const std::string root = make_temp_dir("training_run");
  const std::string home = root + "/home";
  const std::vector<std::string> env = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "HOME=" + home,
                                        "XDG_DATA_HOME=" + home + "/share", "XDG_CONFIG_HOME=" + home + "/config"};
  const std::string replays = home + "/share/veltmoore-brawl/replays";
  write_text_file(root, "saving", std::string(training_keys) + "400 f9 down\n401 f9 up\n");
  const std::vector<std::string> common = {"--data-dir", data, "--no-settings", "--training", "2", "--dummy", "3",
                                           "--no-limiter", "--frames", "420"};

  std::vector<std::string> args = common;
  args.insert(args.end(), {"--script", root + "/saving"});
  const game_run saving = run_fight(args, env);
  ASSERT_EQ(0, saving.exit_status) << saving.err;
  std::smatch m;
  ASSERT_TRUE(std::regex_search(saving.out, m, std::regex("replay of the run so far \\(400 frames\\) saved as (\\S+)\n")))
      << saving.out;
  const std::string saved = m[1].str();
  const std::string text = read_file(saved);
  EXPECT_NE(std::string::npos, text.find("\ntraining 2\ndummy 3\n"));
  // The run went on to its end at frame 420 and saved nothing more.
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(replays)) files += e.is_regular_file();
  EXPECT_EQ(1, files);

  const game_run played = run_fight({"--data-dir", data, "--replay", saved, "--no-limiter"}, env);
  EXPECT_EQ(0, played.exit_status) << played.err;
  EXPECT_NE(std::string::npos, played.out.find("ended at frame 400, every check matched")) << played.err;
}

}  // namespace

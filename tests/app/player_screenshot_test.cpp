// F12 saves the frame as a PNG in the player's screenshots folder and names
// it; a folder that can't be written is a WARNING and the game goes on.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "support/run_game.h"
#include "support/test_env.h"

TEST(PlayerScreenshot, F12SavesTheFrameInThePlayersFolderAndNamesIt) {
  const std::string data = bundled_data_dir();
  if (data.empty()) GTEST_SKIP() << "no bundled data (GAME_DATA_DIR)";
  const std::string dir = make_temp_dir("player_screenshot");
  write_text_file(dir, "keys", "5 f12 down\n6 f12 up\n8 f12 down\n9 f12 up\n");
  write_text_file(dir, "blocked", "a file where the folder would be");
  for (const bool writable : {true, false}) {
    const std::string share = dir + (writable ? "/share" : "/blocked");
    const game_run run = run_fight({"--data-dir", data, "--script", dir + "/keys", "--frames", "12", "--no-settings"},
                                   {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "XDG_DATA_HOME=" + share});
    ASSERT_EQ(0, run.exit_status) << run.err;
    if (!writable) {
      EXPECT_NE(std::string::npos, run.out.find("WARNING: can't save the screenshot: " + share)) << run.out;
      continue;
    }
    const std::regex saved("NOTICE: screenshot saved as (" + share + "/veltmoore-brawl/screenshots/[0-9]{8}-[0-9]{6}(-2)?\\.png)\n");
    std::vector<std::string> files;
    for (std::sregex_iterator m(run.out.begin(), run.out.end(), saved), end; m != end; ++m) files.push_back((*m)[1]);
    ASSERT_EQ(2u, files.size()) << "one file per press:\n" << run.out;
    EXPECT_NE(files[0], files[1]);
    const std::string png = read_file(files[0]);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ("\x89PNG", png.substr(0, 4));
    // The header's width and height: the 640 x 480 screen.
    EXPECT_EQ(std::string("\0\0\x02\x80\0\0\x01\xe0", 8), png.substr(16, 8));
  }
}

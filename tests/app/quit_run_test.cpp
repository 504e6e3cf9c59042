// Closing the window, SIGTERM and SIGINT end the real game in every phase,
// after the frame they came in, with exit status 0 and no fight unless the
// fight had already begun. Needs the bundled data tree named by GAME_DATA_DIR.
#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <string>

#include "support/run_game.h"
#include "support/test_env.h"

namespace {

const std::vector<std::string> headless = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "GAME_FIGHT_TRACE=1"};

bool exists(const std::string& file) { return access(file.c_str(), F_OK) == 0; }

struct phase {
  const char* name;
  const char* keys;    // the key script before the close request
  long quit_frame;     // the close request arrives before this frame is drawn
  bool fight_started;  // the fight had begun
};

// Fades 0..95, the select screen from 96. With RETURN held from 96: its
// fade-out 97..128, the closing frame 129, the stage loading 130..149, the
// fight from 150.
const phase phases[] = {
    {"logo fade-in", "", 10, false},
    {"logo fade-out", "", 40, false},
    {"backdrop fade-in", "", 70, false},
    {"select screen", "98 right down\n99 right up\n", 101, false},
    {"select fade-out", "96 return down\n", 110, false},
    {"stage loading", "96 return down\n", 135, false},
    {"fight", "96 return down\n160 left down\n", 170, true},
};

TEST(QuitRun, AClosedWindowEndsEveryPhaseAfterItsFrame) {
  const char* data = std::getenv("GAME_DATA_DIR");
  if (!data) GTEST_SKIP() << "GAME_DATA_DIR (the bundled data, build/data) is not set";
  for (const phase& p : phases) {
    SCOPED_TRACE(p.name);
    const std::string dir = make_temp_dir("quit_run");
    write_text_file(dir, "keys.txt", p.keys + std::to_string(p.quit_frame) + " quit down\n");
    const std::string before = dir + "/before.png", after = dir + "/after.png";
    game_run run = run_fight({"--data-dir", without_main_menu(data), "--script", dir + "/keys.txt", "--frames", "400", "--screenshot",
                              std::to_string(p.quit_frame - 1) + ":" + before, "--screenshot",
                              std::to_string(p.quit_frame + 1) + ":" + after},
                             headless);
    EXPECT_EQ(0, run.exit_status) << run.err;
    EXPECT_TRUE(exists(before));  // the run got there
    EXPECT_FALSE(exists(after));  // and showed at most the frame the request came in
    EXPECT_EQ(p.fight_started, run.err.find("fight starts") != std::string::npos) << run.err;
    if (!p.fight_started) {
      EXPECT_EQ(std::string::npos, run.out.find("Scrolling Max for level"));
    }
  }
}

// SIGINT while the logo shows, SIGTERM while the stage loads (a stage of many
// pictures, so the loading lasts): the game ends at once, without a fight.
TEST(QuitRun, SignalsEndTheGameInTheTitlesAndMidLoad) {
  const char* data = std::getenv("GAME_DATA_DIR");
  if (!data) GTEST_SKIP() << "GAME_DATA_DIR (the bundled data, build/data) is not set";
  const std::vector<std::string>& env = headless;
  bool ended = false;
  double waited = 0.0;

  running_game titles = start_fight({"--data-dir", data}, env);
  ASSERT_TRUE(wait_for_output(titles, "Loading img_mgr [rsrc\\QZ_group_redo_rough_640x480.png]", 30.0));
  kill(titles.pid, SIGINT);
  game_run run = wait_for_exit(titles, 5.0, ended, waited);
  EXPECT_TRUE(ended) << "still running 5 s after SIGINT";
  EXPECT_EQ(0, run.exit_status) << run.err;
  EXPECT_EQ(std::string::npos, run.out.find("load level"));
  std::printf("exit %.3f s after SIGINT in the titles\n", waited);

  // 400 pictures of 640 x 480: seconds of loading on any machine.
  const std::string big = make_temp_dir("quit_load");
  std::string set = "width=640\nimages=400\n";
  for (int m = 0; m < 400; ++m) set += "image" + std::to_string(m) + "=rsrc\\veltmoore\\p" + std::to_string(m % 8) + ".png\n";
  for (int m = 0; m < 8; ++m) {
    write_solid_picture(big, "rsrc/veltmoore/p" + std::to_string(m) + ".png", 640, 480, 30, 60, static_cast<unsigned char>(m));
  }
  write_text_file(big, "rsrc/veltmoore/set.ini", set);
  write_text_file(big, "rsrc/veltmoore/stage_veltmoore.ini", "bgset=rsrc\\veltmoore\\set.ini\nlength=1\npart0=0\n");
  running_game loading = start_fight({"--data-dir", big, "--fighter", "1", "--no-limiter"}, env);
  ASSERT_TRUE(wait_for_output(loading, "width[640] images[400]", 30.0));
  kill(loading.pid, SIGTERM);
  run = wait_for_exit(loading, 5.0, ended, waited);
  EXPECT_TRUE(ended) << "still running 5 s after SIGTERM";
  EXPECT_EQ(0, run.exit_status) << run.err;
  EXPECT_EQ(std::string::npos, run.out.find("done loading"));  // stopped mid-load
  EXPECT_EQ(std::string::npos, run.out.find("_char.ini"));     // no fighter loaded
  EXPECT_EQ(std::string::npos, run.err.find("fight starts"));
  std::printf("exit %.3f s after SIGTERM mid-load\n", waited);
}

}  // namespace

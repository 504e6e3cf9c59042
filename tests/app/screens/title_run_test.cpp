// The title screens and the select screen inside a whole run of the game,
// driven by a key script.
#include <gtest/gtest.h>

#include "gfx/picture_files.h"
#include "support/run_game.h"
#include "support/test_env.h"

namespace {

const std::vector<std::string> headless = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"};

std::string data_with_title_pictures() {
  std::string data = make_temp_dir("title_run");
  write_picture(data, "rsrc/dmk_logo2_640x480.png", 64, 48, [](int, int) { return rgba{200, 0, 0, 255}; });
  write_picture(data, "rsrc/QZ_group_redo_rough_640x480.png", 64, 48, [](int, int) { return rgba{0, 0, 200, 255}; });
  write_picture(data, "rsrc/brela/brela_action_shot.png", 20, 30, [](int, int) { return rgba{0, 200, 0, 255}; });
  return data;
}

}  // namespace

TEST(TitleRun, EscapeOnTheSelectScreenEndsTheRunWithoutAFight) {
  std::string data = data_with_title_pictures();
  // Frames 0..95 are the three fades; the select screen samples its first frame at 96.
  write_text_file(data, "keys.txt", "90 escape down\n");
  game_run run = run_fight({"--data-dir", data, "--script", data + "/keys.txt", "--frames", "1000"}, headless);
  EXPECT_EQ(run.exit_status, 0) << run.err;
  size_t at = find_after(run.out, "Loading img_mgr [rsrc\\dmk_logo2_640x480.png]", 0);
  at = find_after(run.out, "Loading img_mgr [rsrc\\dravitz\\dravitz_action_shot.png]", at);
  at = find_after(run.out, "Loading img_mgr [rsrc\\QZ_group_redo_rough_640x480.png]", at);
  EXPECT_NE(at, std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("stage_veltmoore"), std::string::npos);  // no stage loaded
  EXPECT_EQ(run.out.find("_char.ini"), std::string::npos);         // no fighter loaded
}

TEST(TitleRun, ConfirmingGoesOnToTheFight) {
  std::string data = data_with_title_pictures();
  write_text_file(data, "keys.txt", "90 return down\n");
  game_run run = run_fight({"--data-dir", data, "--script", data + "/keys.txt", "--frames", "200"}, headless);
  EXPECT_EQ(run.exit_status, 0) << run.err;
  EXPECT_NE(run.out.find("stage_veltmoore"), std::string::npos) << run.out;
}

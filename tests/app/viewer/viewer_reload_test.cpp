// The viewer's reload: files changed on disk are read again (pictures the
// cache already holds included), and a file that no longer loads is listed
// among the problems while the fighter still loads.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "anim/animation.h"
#include "app/viewer/viewer_controls.h"
#include "app/viewer/viewer_fighter.h"
#include "gfx/img_mgr.h"
#include "support/confined_data.h"
#include "support/test_env.h"
#include "viewer_reload_memory.h"

namespace {

bool has_problem(const viewer_fighter& f, const std::string& text) {
  for (const problem_line& p : f.problems) {
    if (p.text == text) return true;
  }
  return false;
}

size_t frames_of_move(const lifeform* l, int slot) {
  return l->moves.at(slot)->animations.at(0)->frames.size();
}

TEST(ViewerReload, ChangedFilesAreReadAgainAndBrokenOnesListed) {
  ensure_video();
  const std::string dir = make_temp_dir("viewer_reload");
  const char* char_file = "game\\fighter\\reload_char.ini";
  write_text_file(dir, "game/fighter/reload_char.ini",
                  "hp=100\nmoves=1\nmove0=game\\fighter\\reload\\jab.ini\nimages=1\nimage0=rsrc\\reload\\stand.png\n");
  write_text_file(dir, "game/fighter/reload/jab.ini", "images=1\nimage0=rsrc\\reload\\jab.png\nrate0=2\n");
  write_solid_picture(dir, "rsrc/reload/stand.png", 40, 60, 0, 0, 200);
  write_solid_picture(dir, "rsrc/reload/jab.png", 30, 30, 200, 0, 0);
  confined_in in(dir);

  viewer_fighter f;
  capture_stdout([&] { f.load(char_file, false); });
  ASSERT_NE(nullptr, f.plain);
  EXPECT_TRUE(f.problems.empty());
  EXPECT_EQ(40, f.plain->width);
  EXPECT_EQ(1u, frames_of_move(f.plain.get(), 0));

  // An edit: a bigger standing picture (the cache holds the old one) and a
  // second frame.
  write_solid_picture(dir, "rsrc/reload/stand.png", 50, 70, 0, 0, 200);
  write_text_file(dir, "game/fighter/reload/jab.ini",
                  "images=2\nimage0=rsrc\\reload\\jab.png\nimage1=rsrc\\reload\\jab.png\n");
  capture_stdout([&] { f.reload(); });
  EXPECT_TRUE(f.problems.empty());
  EXPECT_EQ(50, f.plain->width);
  EXPECT_EQ(70, f.plain->height);
  EXPECT_EQ(2u, frames_of_move(f.plain.get(), 0));

  // Broken: the animation file gone, the picture unreadable.
  std::remove((dir + "/game/fighter/reload/jab.ini").c_str());
  write_text_file(dir, "rsrc/reload/stand.png", "not a picture");
  const std::string log = capture_stdout([&] { f.reload(); });
  ASSERT_NE(nullptr, f.plain);
  EXPECT_EQ(0u, frames_of_move(f.plain.get(), 0));
  EXPECT_TRUE(has_problem(f, "Can't load animation from [game\\fighter\\reload\\jab.ini]")) << log;
  EXPECT_TRUE(has_problem(f, "Can't open [game\\fighter\\reload\\jab.ini]")) << log;
  bool picture_said = false;
  for (const problem_line& p : f.problems) picture_said |= p.text.find("Couldn't load rsrc\\reload\\stand.png") == 0;
  EXPECT_TRUE(picture_said) << log;

  // Mended: the problems go with the next reload.
  write_text_file(dir, "game/fighter/reload/jab.ini", "images=1\nimage0=rsrc\\reload\\jab.png\n");
  write_solid_picture(dir, "rsrc/reload/stand.png", 44, 66, 0, 0, 200);
  capture_stdout([&] { f.reload(); });
  EXPECT_TRUE(f.problems.empty());
  EXPECT_EQ(44, f.plain->width);
}

// A misspelt name mended in the character file: the old spelling stays in the
// picture cache, but its failure is no problem of the fighter any more.
TEST(ViewerReload, AMendedNameLeavesNoProblemBehind) {
  ensure_video();
  const std::string dir = make_temp_dir("viewer_mend");
  const char* char_file = "game\\fighter\\mend_char.ini";
  write_text_file(dir, "game/fighter/mend_char.ini", "hp=100\nimages=1\nimage0=rsrc\\mend\\stnad.png\n");
  write_solid_picture(dir, "rsrc/mend/stand.png", 40, 60, 0, 0, 200);
  confined_in in(dir);

  viewer_fighter f;
  const std::string log = capture_stdout([&] { f.load(char_file, false); });
  ASSERT_FALSE(f.problems.empty()) << log;
  EXPECT_EQ(0u, f.problems.front().text.find("Couldn't load rsrc\\mend\\stnad.png")) << f.problems.front().text;

  write_text_file(dir, "game/fighter/mend_char.ini", "hp=100\nimages=1\nimage0=rsrc\\mend\\stand.png\n");
  const std::string mended = capture_stdout([&] { f.reload(); });
  EXPECT_TRUE(f.problems.empty()) << f.problems.front().text << "\n" << mended;
  EXPECT_EQ(40, f.plain->width);
}

TEST(ViewerReload, OldPixelsAreGivenBackAtEachReload) { viewer_reload_memory::expect_pixels_given_back_on_reload(); }

TEST(ViewerText, FrameLineNamesFileFrameRateAndFlags) {
  animation a;
  a.loop = 1;
  a.frames.resize(3);
  a.frames[1].rate = 4;
  a.frames[1].fire = 1;
  a.frames[1].shake = 8;
  a.frames[1].flash = 160;
  a.frames[1].flashrate = 16;
  a.frames[1].has_sound = 1;
  a.frames[2].rate = 6;
  EXPECT_EQ("game\\fighter\\x\\special.ini  frame 2/3  rate 4  loop  fire  shake 8  flash 160/16  sound",
            describe_animation_frame("game\\fighter\\x\\special.ini", a, 1));
  EXPECT_EQ("a.ini  frame 3/3  rate 6  loop", describe_animation_frame("a.ini", a, 7));  // past the end: the last
  EXPECT_EQ("a.ini  no frames", describe_animation_frame("a.ini", animation(), 0));
}

}  // namespace

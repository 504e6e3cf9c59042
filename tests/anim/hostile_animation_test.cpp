// Broken and hostile animation files: every bad count or frame value gives one
// line naming the file, the key and the value, and the animation still plays.
#include <gtest/gtest.h>

#include <cmath>

#include "anim/animation.h"
#include "anim/data_bounds.h"
#include "stage/level.h"
#include "support/hostile_support.h"
#include "support/test_env.h"

namespace {

struct loaded {
  std::string file, log;
  animation* anim = nullptr;
};

loaded load_animation(const std::string& text) {
  ensure_video();
  loaded r;
  std::string dir = make_temp_dir("hostile_anim");
  write_text_file(dir, "a.ini", text);
  r.file = dir + "/a.ini";
  r.anim = new animation;
  r.log = capture_stdout([&] { r.anim->load(r.file.c_str()); });
  return r;
}

// Plays a one-animation move for `ticks` ticks; the run must simply go on.
void play_for(animation* a, int ticks) {
  move m;
  m.add(counted_ptr<animation>(a));
  capture_stdout([&] {
    for (int i = 0; i < ticks; ++i) EXPECT_EQ(1, m.play(0, 0));
  });
  m.animations.clear();
}

}  // namespace

TEST(HostileAnimation, FrameCountsAreRefusedOrClamped) {
  loaded neg = load_animation("images=-5\nimage0=x.png\n");
  EXPECT_NE("", report_line(neg.log, "ERROR:", {neg.file, "images", "-5"})) << neg.log;
  EXPECT_EQ(0u, neg.anim->frames.size());
  play_for(neg.anim, 3);
  delete neg.anim;

  loaded huge = load_animation("images=2147483647\n");
  EXPECT_NE("", report_line(huge.log, "WARNING:", {huge.file, "images", "2147483647"}));
  EXPECT_EQ(static_cast<size_t>(max_animation_frames), huge.anim->frames.size());
  delete huge.anim;

  // Beyond int: the reader saturates, the loader clamps.
  loaded beyond = load_animation("images=99999999999999999999\n");
  EXPECT_NE("", report_line(beyond.log, "WARNING:", {beyond.file, "images"}));
  EXPECT_EQ(static_cast<size_t>(max_animation_frames), beyond.anim->frames.size());
  delete beyond.anim;
}

TEST(HostileAnimation, FrameValuesAreClamped) {
  loaded r = load_animation(
      "images=2\nrate0=-2147483648\nshake0=99999999\nflash1=-99999999\nflashrate1=2147483647\n"
      "rate1=2147483647\n");
  EXPECT_NE("", report_line(r.log, "WARNING:", {r.file, "rate0", "-2147483648"}));
  EXPECT_NE("", report_line(r.log, "WARNING:", {r.file, "shake0", "99999999"}));
  EXPECT_NE("", report_line(r.log, "WARNING:", {r.file, "flash1", "-99999999"}));
  EXPECT_NE("", report_line(r.log, "WARNING:", {r.file, "flashrate1", "2147483647"}));
  EXPECT_NE("", report_line(r.log, "WARNING:", {r.file, "rate1", "2147483647"}));
  ASSERT_EQ(2u, r.anim->frames.size());
  EXPECT_EQ(-max_frame_rate, r.anim->frames[0].rate);
  EXPECT_EQ(max_frame_shake, r.anim->frames[0].shake);
  EXPECT_EQ(max_frame_rate, r.anim->frames[1].rate);
  // The sum of the rates stays far from overflow.
  EXPECT_EQ(0, r.anim->total);
  play_for(r.anim, 4);
  delete r.anim;
}

TEST(HostileAnimation, BrokenScalesDrawNothingButGoOn) {
  loaded r = load_animation("images=1\nimage0=missing.png\nrate0=2\n");
  level stage;
  level* saved = g_level;
  g_level = &stage;
  stage.zoom = 0.5;
  const double scales[] = {0.0, -1.0, std::nan(""), 1e308, -1e308};
  for (double s : scales) {
    r.anim->scale = s;
    play_for(r.anim, 2);
  }
  g_level = saved;
  EXPECT_EQ(1u, r.anim->frames.size());
  delete r.anim;
}

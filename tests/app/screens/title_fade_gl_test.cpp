// The title fades in OpenGL mode, read back from each frame about to be shown.
// A loaded picture carries full per-surface opacity, which its upload hands to
// the image: the fade-in shows the logo at once, the fade-out dims it.
#include <gtest/gtest.h>
#include <SDL_opengl.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "app/frame_limiter.h"
#include "app/screens/title_screens.h"
#include "app/video.h"
#include "gfx/picture_files.h"
#include "support/test_env.h"

namespace {

std::vector<int> red_per_frame;  // red in the middle of each presented frame

void read_frame() {
  Uint8 p[4] = {0, 0, 0, 0};
  glReadBuffer(GL_BACK);
  glReadPixels(g_video.screen->w / 2, g_video.screen->h / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
  red_per_frame.push_back(p[0]);
}

}  // namespace

TEST(TitleFadeGl, LogoBuildsUpAndFadesOut) {
  ensure_video();
  ASSERT_TRUE(opengl_mode());
  std::string dir = make_temp_dir("titlegl");
  write_picture(dir, "rsrc/dmk_logo2_640x480.png", 320, 240, [](int, int) { return rgba{250, 0, 0, 255}; });
  const std::string previous = std::filesystem::current_path().string();
  ASSERT_EQ(chdir(dir.c_str()), 0);
  limiter().set_enabled(false);
  g_video.before_present = read_frame;
  title_screens t;
  t.load_logo(60);
  t.logo_fade_in();
  t.logo_fade_out();
  g_video.before_present = nullptr;
  limiter().set_enabled(true);
  ASSERT_EQ(chdir(previous.c_str()), 0);

  ASSERT_EQ(red_per_frame.size(), 64u);
  EXPECT_GE(red_per_frame[0], 245);
  EXPECT_GE(red_per_frame[31], 245);
  EXPECT_GE(red_per_frame[32], 245);     // fade-out starts at 255
  EXPECT_LT(red_per_frame[63], 15);      // and ends at 7
  EXPECT_NEAR(red_per_frame[48], 250 * (255 - 16 * 8) / 255, 3);
  for (int i = 33; i < 64; ++i) EXPECT_LE(red_per_frame[i], red_per_frame[i - 1]);
}

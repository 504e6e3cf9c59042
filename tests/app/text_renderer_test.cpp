// The text renderer in software mode: defaults, texture sizes, font fallback.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "app/text_renderer.h"
#include "app/video.h"
#include "gfx/picture_files.h"
#include "support/test_env.h"

namespace {

const char* system_font = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

}  // namespace

TEST(TextRenderer, TextureSizesArePowersOfTwo) {
  int w = 0, h = 0;
  text_texture_size(37, 21, w, h);
  EXPECT_EQ(w, 64);
  EXPECT_EQ(h, 32);
  text_texture_size(1, 1, w, h);
  EXPECT_EQ(w, 1);
  EXPECT_EQ(h, 1);
  text_texture_size(64, 33, w, h);
  EXPECT_EQ(w, 64);
  EXPECT_EQ(h, 64);
}

TEST(TextRenderer, DefaultsDrawWhiteOnBlackBoxAt44) {
  ensure_video();
  if (!std::filesystem::exists(system_font)) GTEST_SKIP() << "no font on this machine";
  text_renderer text;
  text.create(g_video.screen);
  EXPECT_EQ(text.point_size, 18);
  EXPECT_EQ(text.x, 4);
  EXPECT_EQ(text.y, 4);
  EXPECT_EQ(text.font_open, 0);
  text.open_font(system_font);
  ASSERT_EQ(text.font_open, 1);
  SDL_FillRect(g_video.screen, nullptr, SDL_MapRGB(g_video.screen->format, 0, 0, 200));
  text.draw_text("WWW");
  EXPECT_EQ(text.rendered, nullptr);
  int white = 0, black = 0;
  for (int y = 4; y < 20; ++y) {
    for (int x = 4; x < 30; ++x) {
      rgba c = pixel_at(g_video.screen, x, y);
      if (c.r == 255 && c.g == 255 && c.b == 255) ++white;
      if (c.r == 0 && c.g == 0 && c.b == 0) ++black;
    }
  }
  EXPECT_GT(white, 10);
  EXPECT_GT(black, 10);
  rgba outside = pixel_at(g_video.screen, 3, 3);
  EXPECT_EQ(outside.b, 200);
  text.destroy();
  EXPECT_EQ(text.font_open, 0);
}

TEST(TextRenderer, MissingFontFallsBackToTahomaInTheWorkingDirectory) {
  ensure_video();
  if (!std::filesystem::exists(system_font)) GTEST_SKIP() << "no font on this machine";
  std::string dir = make_temp_dir("text");
  std::string before = std::filesystem::current_path().string();
  ASSERT_EQ(chdir(dir.c_str()), 0);
  text_renderer text;
  text.create(g_video.screen);
  std::string out = capture_stdout([&] {
    text.open_font("rsrc\\Veranda.ttf");
    text.draw_text("none");  // no tahoma.ttf either: nothing drawn, the failure printed
  });
  EXPECT_NE(out.find("ERROR: TTF_OpenFont: "), std::string::npos);
  EXPECT_EQ(text.font_open, 0);
  std::filesystem::copy_file(system_font, dir + "/tahoma.ttf");
  text.draw_text("now");
  EXPECT_EQ(text.font_open, 1);
  TTF_Font* opened = text.font;
  text.draw_text("again");
  EXPECT_EQ(text.font, opened);  // later draws reuse it
  text.destroy();
  ASSERT_EQ(chdir(before.c_str()), 0);
}

#include <gtest/gtest.h>

#include <string>

#include "support/test_media.h"
#include "stage/level.h"
#include "support/test_env.h"

namespace {

rgb column_colour(int x) { return {x & 0xFF, 40, (x >> 8) * 30}; }

TEST(LevelDrawGl, FlashIsABlendedWhiteQuad) {
  ensure_video();
  level l;
  l.flash = 200;
  l.flash_rate = 25;
  clear_frame();
  l.advance();
  l.draw();
  rgb c = screen_pixel(320, 240);
  EXPECT_NEAR(200, c.r, 3);
  EXPECT_EQ(c.r, c.b);
  EXPECT_EQ(175, l.flash);
  clear_frame();
  l.flash = 0;
  l.advance();
  l.draw();
  EXPECT_EQ((rgb{0, 0, 0}), screen_pixel(320, 240));
}

TEST(LevelDrawGl, LayeredPieceShowsItsScrolledWindow) {
  ensure_video();
  std::string dir = make_temp_dir("gl_draw");
  std::string path = write_picture(dir, "p.png", 1000, 200, [](int x, int) { return column_colour(x); });
  level l;
  l.images.reserve(2);
  img_mgr picture;
  picture.load(path.c_str());
  picture.no_zoom_cache = 1;
  l.images.push_back(picture);
  l.plist.emplace_front(l.images[0]);
  l.layered_segments.push_back(std::make_unique<layered_segment>(layered_segment{{0}}));
  l.total_height = 200;
  l.max_width = 1000;  // dx = 90
  l.max_height = 200;
  l.base_y = 280;
  l.scroll_x = 200;
  clear_frame();
  l.draw();
  // The nearest copy is drawn last and starts at the scroll; linear filtering
  // allows a step of one texel.
  rgb c = screen_pixel(0, 400);
  EXPECT_NEAR(200, c.r, 2);
  EXPECT_EQ(40, c.g);
  EXPECT_EQ((rgb{0, 0, 0}), screen_pixel(0, 270));
}

}  // namespace

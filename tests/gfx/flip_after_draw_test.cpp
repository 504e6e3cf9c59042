// A picture mirrored after it was first drawn (a fighter turning round), and
// a zoomed copy kept in the zoom cache, must stay see-through where the
// picture is pure green.
#include <SDL_gfxPrimitives.h>
#include <gtest/gtest.h>

#include <vector>

#include "app/video.h"
#include "core/png_write.h"
#include "gfx/img_mgr.h"
#include "gfx/zoom_window.h"
#include "support/test_env.h"

namespace {

// 8 x 4: the left half green (key), the right half blue.
std::string half_keyed_picture() {
  std::string dir = make_temp_dir("flip_after_draw");
  std::vector<uint8_t> px(8 * 4 * 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 8; ++x) {
      uint8_t* p = &px[(y * 8 + x) * 4];
      bool key = x < 4;
      p[0] = 0;
      p[1] = key ? 255 : 0;
      p[2] = key ? 0 : 255;
      p[3] = 255;
    }
  }
  std::string file = dir + "/half.png";
  write_png(file, px.data(), 8, 4, 8 * 4, 4);
  return file;
}

void fill_red() { boxRGBA(g_video.screen, 0, 0, 640, 480, 255, 0, 0, 255); }

SDL_Color pixel_at(int x, int y) {
  Uint32 p = static_cast<Uint32*>(g_video.screen->pixels)[y * g_video.screen->pitch / 4 + x];
  SDL_Color c;
  SDL_GetRGB(p, g_video.screen->format, &c.r, &c.g, &c.b);
  return c;
}

struct seen {
  SDL_Color left, right, zoomed_key;
};

// Draws, mirrors and draws again, plain and zoomed, reading the screen back.
seen draw_mirrored(const std::string& file, bool fast) {
  seen out{};
  capture_stdout([&] {
    set_zoom_fast_path(fast);
    img_mgr picture;
    picture.load(file.c_str());
    fill_red();
    picture.draw(100, 100);  // converts and keys the picture
    picture.flip();          // mirrored: blue left, green right
    fill_red();
    picture.draw(100, 100);
    out.left = pixel_at(101, 101);
    out.right = pixel_at(106, 101);
    fill_red();
    picture.draw_zoomed(200, 200, g_video.screen, 0.5);  // lands at (100, 202), 4 x 2
    out.zoomed_key = pixel_at(103, 203);
    set_zoom_fast_path(true);
  });
  return out;
}

TEST(FlipAfterDraw, MirrorOfADrawnPictureKeepsItsKey) {
  ensure_video();
  std::string file = half_keyed_picture();
  for (bool fast : {false, true}) {
    seen s = draw_mirrored(file, fast);
    EXPECT_EQ(255, s.left.b) << "fast=" << fast;
    EXPECT_EQ(255, s.right.r) << "fast=" << fast;  // the red background shows through
    EXPECT_EQ(0, s.right.g) << "fast=" << fast;
    EXPECT_EQ(255, s.zoomed_key.r) << "fast=" << fast;
    EXPECT_EQ(0, s.zoomed_key.g) << "fast=" << fast;
  }
}

}  // namespace

// OpenGL mode: 10 000 draws of each kind, and of text (a texture made and
// deleted per draw), leave the process's memory flat.
#include <gtest/gtest.h>
#include <SDL_opengl.h>

#include <filesystem>

#include "app/text_renderer.h"
#include "app/video.h"
#include "draw_memory.h"
#include "gfx/health_gauge.h"
#include "gfx/img_mgr.h"
#include "picture_files.h"
#include "support/test_env.h"

TEST(DrawMemoryGl, EveryKindOfDrawStaysFlat) {
  if (!memory_figures_meaningful) GTEST_SKIP() << "resident memory is not meaningful under AddressSanitizer";
  ensure_video();
  ASSERT_TRUE(opengl_mode());
  const long allowed_growth_kb = 4096;
  std::string dir = make_temp_dir("drawmemgl");
  std::string file = write_picture(dir, "m.png", 400, 120, [](int x, int y) {
    return rgba{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 9, 255};
  });
  SDL_Surface* screen = g_video.screen;
  img_mgr img;
  img.load(file.c_str());
  auto zoom_of = [](int i) { return 0.6 + 0.4 * (i % 97) / 97.0; };
  // Mesa queues every draw of a frame until the frame ends: end one every 20 draws.
  auto in_frames = [](auto draw) {
    return [draw](int i) {
      draw(i);
      if (i % 20 == 19) glFinish();
    };
  };
  EXPECT_LT(growth_over_10000_draws("gl draw", in_frames([&](int i) { img.draw(i % 300, 10); })), allowed_growth_kb);
  EXPECT_LT(growth_over_10000_draws("gl draw_zoomed", in_frames([&](int i) { img.draw_zoomed(0, 50, screen, zoom_of(i)); })),
            allowed_growth_kb);
  EXPECT_LT(growth_over_10000_draws("gl draw_depth", in_frames([&](int i) { img.draw_depth(0, 300, screen, zoom_of(i), 0.17); })),
            allowed_growth_kb);
  EXPECT_LT(growth_over_10000_draws("gl health gauge", in_frames([&](int) {
              int32_t count = 1;
              draw_health_gauge(70, 100, 1, count, 100, 10, 10);
            })),
            allowed_growth_kb);
  const char* font = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  if (std::filesystem::exists(font)) {
    text_renderer text;
    text.create(screen);
    text.open_font(font);
    EXPECT_LT(growth_over_10000_draws("gl text", in_frames([&](int) { text.draw_text("Combo[3]"); })), allowed_growth_kb);
    text.destroy();
  }
  glFinish();
}

// Software mode: 10 000 draws of each kind leave the process's memory flat
// (a surface leaked per draw would add megabytes).
#include <gtest/gtest.h>

#include "app/video.h"
#include "draw_memory.h"
#include "gfx/health_gauge.h"
#include "gfx/img_mgr.h"
#include "gfx/zoom_window.h"
#include "picture_files.h"
#include "support/test_env.h"

namespace {

const long allowed_growth_kb = 2048;

rgba stripes(int x, int y) {
  return (x / 8) % 3 == 0 ? rgba{0, 255, 0, 255} : rgba{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 9, 255};
}

}  // namespace

TEST(DrawMemory, EveryKindOfDrawStaysFlat) {
  if (!memory_figures_meaningful) GTEST_SKIP() << "resident memory is not meaningful under AddressSanitizer";
  ensure_video();
  std::string dir = make_temp_dir("drawmem");
  std::string file = write_picture(dir, "m.png", 400, 120, stripes);
  SDL_Surface* screen = g_video.screen;
  img_mgr plain, cached, uncached, floor;
  for (img_mgr* img : {&plain, &cached, &uncached, &floor}) img->load(file.c_str());
  uncached.no_zoom_cache = 1;
  floor.no_zoom_cache = 1;
  auto zoom_of = [](int i) { return 0.6 + 0.4 * (i % 97) / 97.0; };

  EXPECT_LT(growth_over_10000_draws("draw", [&](int i) { plain.draw(i % 300, 10); }), allowed_growth_kb);
  EXPECT_LT(growth_over_10000_draws("draw_to", [&](int i) { plain.draw_to(i % 300, 10, screen); }), allowed_growth_kb);
  EXPECT_LT(growth_over_10000_draws("draw_zoomed cached", [&](int i) { cached.draw_zoomed(0, 50, screen, zoom_of(i)); }),
            allowed_growth_kb);
  EXPECT_LT(growth_over_10000_draws("draw_zoomed per draw", [&](int i) {
              uncached.src_rect.x = static_cast<Sint16>(i % 100);
              uncached.draw_zoomed(0, 50, screen, zoom_of(i));
            }),
            allowed_growth_kb);
  EXPECT_LT(growth_over_10000_draws("draw_depth", [&](int i) { floor.draw_depth(0, 300, screen, zoom_of(i), 0.17); }),
            allowed_growth_kb);
  set_zoom_fast_path(false);
  EXPECT_LT(growth_over_10000_draws("draw_zoomed straightforward", [&](int i) {
              uncached.draw_zoomed(0, 50, screen, zoom_of(i));
            }),
            allowed_growth_kb);
  EXPECT_LT(growth_over_10000_draws("draw_depth straightforward", [&](int i) {
              floor.draw_depth(0, 300, screen, zoom_of(i), 0.17);
            }),
            allowed_growth_kb);
  set_zoom_fast_path(true);
  EXPECT_LT(growth_over_10000_draws("health gauge", [&](int) {
              int32_t count = 1;
              draw_health_gauge(70, 100, 1, count, 100, 10, 10);
            }),
            allowed_growth_kb);
  EXPECT_LE(cached.zoom_cache.size(), 26u);  // one entry per key at most
}

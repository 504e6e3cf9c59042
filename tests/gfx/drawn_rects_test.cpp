// The rectangles noted while drawing are exactly the screen pixels the
// pictures covered: opaque pictures drawn over a black screen change the
// union of the noted rectangles and nothing else, drawn plain, clipped by the
// screen's edges, zoomed (either zoom path) or as a tilted floor.
#include <gtest/gtest.h>

#include "app/video.h"
#include "gfx/drawn_rects.h"
#include "gfx/img_mgr.h"
#include "gfx/zoom_window.h"
#include "picture_files.h"
#include "support/test_env.h"

namespace {

TEST(DrawnRects, CoverExactlyThePixelsTheDrawsChanged) {
  ensure_video(640, 480);
  SDL_Surface* screen = g_video.screen;
  const std::string file = write_solid_picture(make_temp_dir("drawn_rects"), "solid.png", 200, 100, 200, 60, 30);
  for (bool fast : {true, false}) {
    set_zoom_fast_path(fast);
    SDL_FillRect(screen, nullptr, 0);
    img_mgr plain, zoomed, floor;
    for (img_mgr* img : {&plain, &zoomed, &floor}) capture_stdout([&] { img->load(file.c_str()); });
    std::vector<SDL_Rect> drawn;
    record_drawn_rects(&drawn);
    plain.draw(-50, 430);  // cut by the left and bottom edges
    zoomed.draw_zoomed(300, 100, screen, 0.6);
    zoomed.draw_zoomed(1000, 200, screen, 0.7);  // runs off the right edge
    floor.draw_depth(0, 300, screen, 0.8, 0.17);
    record_drawn_rects(nullptr);

    std::vector<bool> noted(static_cast<size_t>(screen->w) * screen->h, false);
    for (const SDL_Rect& r : drawn) {
      for (int y = r.y; y < r.y + r.h; ++y) {
        for (int x = r.x; x < r.x + r.w; ++x) noted[static_cast<size_t>(y) * screen->w + x] = true;
      }
    }
    long changed = 0, differ = 0;
    for (int y = 0; y < screen->h; ++y) {
      for (int x = 0; x < screen->w; ++x) {
        const rgba c = pixel_at(screen, x, y);
        const bool drawn_here = c.r || c.g || c.b;
        changed += drawn_here;
        differ += drawn_here != noted[static_cast<size_t>(y) * screen->w + x];
      }
    }
    EXPECT_GT(changed, 20000) << "fast path " << fast;
    EXPECT_EQ(0, differ) << "fast path " << fast << ": pixels drawn but not noted, or noted but not drawn";
  }
  set_zoom_fast_path(true);
}

}  // namespace

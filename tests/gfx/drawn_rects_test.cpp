// The screen rectangles pictures note while drawing, in software mode, on
// either zoom path (the OpenGL twin is drawn_rects_gl_test.cpp).
#include "drawn_rects_check.h"
#include "gfx/zoom_window.h"

namespace {

TEST(DrawnRects, CoverExactlyThePixelsTheDrawsChanged) {
  ensure_video(640, 480);
  const std::string file = drawn_rects_check::solid_picture();
  for (bool fast : {true, false}) {
    set_zoom_fast_path(fast);
    drawn_rects_check::expect_noted_exactly(file, fast ? "zoom fast path" : "zoom by blits");
  }
  set_zoom_fast_path(true);
}

}  // namespace

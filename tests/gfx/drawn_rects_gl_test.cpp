// The screen rectangles pictures note while drawing, in OpenGL mode (the
// software twin is drawn_rects_test.cpp).
#include "drawn_rects_check.h"

namespace {

TEST(DrawnRectsGl, CoverExactlyThePixelsTheDrawsChanged) {
  ensure_video(640, 480);
  ASSERT_TRUE(opengl_mode());
  drawn_rects_check::expect_noted_exactly(drawn_rects_check::solid_picture(), "OpenGL");
}

}  // namespace

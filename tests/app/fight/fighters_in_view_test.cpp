// Both fighters stay whole on the screen wherever they go, on the bundled
// stage and on stages whose pictures are too small for the camera, in
// software mode (the OpenGL twin is fighters_in_view_gl_test.cpp).
#include <gtest/gtest.h>

#include "fighters_in_view_sweep.h"

namespace {

TEST(FightersInView, OnTheBundledStage) {
  const char* data = std::getenv("GAME_DATA_DIR");
  if (!data) GTEST_SKIP() << "GAME_DATA_DIR is not set (./test.sh sets it)";
  in_view::expect_in_view(data, 640, 480, false);
}

TEST(FightersInView, OnAStageOfPicturesSmallerThanTheView) {
  in_view::expect_in_view(in_view::small_stage_tree(900, 500), 640, 480, true);
}

TEST(FightersInView, OnAShortGroundPiece) { in_view::expect_in_view(in_view::ground_stage_tree(1600, 200), 800, 600, true); }

}  // namespace

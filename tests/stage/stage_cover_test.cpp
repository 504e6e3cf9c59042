// The bundled stage covers the whole screen wherever the camera goes, in
// software mode (the OpenGL twin is stage_cover_gl_test.cpp).
#include <gtest/gtest.h>

#include "stage/level.h"
#include "stage/stage_cover_sweep.h"

namespace {

void expect_covered(int w, int h) {
  level stage;
  if (!stage_cover::load_bundled_stage(stage, w, h)) GTEST_SKIP() << "GAME_DATA_DIR is not set (./test.sh sets it)";
  stage_cover::sweep_result r = stage_cover::sweep(stage, false);
  std::printf("stage cover %dx%d: %d frames, zoom %.3f..%.3f, %d with holes, %ld uncovered pixels\n", w, h, r.frames,
              r.min_zoom, r.max_zoom, r.frames_with_holes, r.uncovered);
  // The camera went from its closest view to its widest (about half the zoom).
  EXPECT_LT(r.min_zoom, 0.6 * r.max_zoom);
  EXPECT_EQ(0, r.uncovered) << r.frames_with_holes << " of " << r.frames << " frames; first: " << r.first_hole;
}

TEST(StageCover, EveryCameraCovers640x480) { expect_covered(640, 480); }
TEST(StageCover, EveryCameraCovers1280x720) { expect_covered(1280, 720); }
TEST(StageCover, EveryCameraCovers1920x1080) { expect_covered(1920, 1080); }

}  // namespace

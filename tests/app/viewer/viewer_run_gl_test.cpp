// The fighter viewer in OpenGL mode, under a display (Xvfb in the test run).
#include "viewer_run.h"

namespace {

TEST(ViewerRunGl, PostureMovePauseStepMirrorCostumeInOpenGlMode) {
  const char* data = std::getenv("GAME_DATA_DIR");
  if (!data) GTEST_SKIP() << "GAME_DATA_DIR (the bundled data, build/data) is not set";
  const char* display = std::getenv("DISPLAY");
  viewer_run::result r = viewer_run::run(
      data, {"--opengl"},
      {std::string("DISPLAY=") + (display ? display : ""), "SDL_AUDIODRIVER=dummy", "SDL12COMPAT_OPENGL_SCALING=0"});
  viewer_run::expect_viewer_run(r);
}

}  // namespace

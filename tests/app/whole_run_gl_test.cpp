// The whole run in OpenGL mode, under a display (Xvfb in the test run).
#include "whole_run_script.h"

namespace {

TEST(WholeRunGl, LogoSelectFightHitComboEscapeInOpenGlMode) {
  const char* data = bundled_data();
  if (!data) GTEST_SKIP() << "GAME_DATA_DIR (the bundled data, build/data) is not set";
  const char* display = std::getenv("DISPLAY");
  whole_run_result r = run_whole_fight(
      data, {"--opengl"},
      {std::string("DISPLAY=") + (display ? display : ""), "SDL_AUDIODRIVER=dummy", "SDL12COMPAT_OPENGL_SCALING=0"});
  expect_whole_fight(r);
  EXPECT_NE(std::string::npos, r.run.out.find("Setting up OpenGL 2D"));
}

}  // namespace

// Test programs run headless: software-mode programs use SDL's dummy drivers,
// OpenGL-mode programs the display they are given (Xvfb in the test run).
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/test_env.h"

int main(int argc, char** argv) {
  if (GAME_TEST_GL) {
    setenv("GAME_TEST_MODE", "gl", 1);
    // The compatibility layer would render offscreen and copy at every swap.
    setenv("SDL12COMPAT_OPENGL_SCALING", "0", 0);
  } else {
    setenv("GAME_TEST_MODE", "software", 1);
    setenv("SDL_VIDEODRIVER", "dummy", 0);
  }
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

// Test programs run headless: software-mode programs use SDL's dummy drivers.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/test_env.h"

int main(int argc, char** argv) {
  if (!gl_test_mode()) setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

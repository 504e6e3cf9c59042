// Test programs run headless: software-mode programs use SDL's dummy drivers,
// OpenGL-mode programs the display they are given (Xvfb in the test run).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

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
  // The player's folders of this process's own, empty: no test (nor a game it
  // starts) reads the developer's settings or leaves files in their home.
  static const std::string home = make_temp_dir("user_folders");
  setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
  setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
  std::atexit([] { std::error_code ignored; std::filesystem::remove_all(home, ignored); });
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

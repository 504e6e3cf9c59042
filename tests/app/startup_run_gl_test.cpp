// The game's start-up in OpenGL mode, under a display (Xvfb in the test run).
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/run_game.h"
#include "support/test_env.h"

namespace {

std::vector<std::string> gl_env() {
  const char* display = std::getenv("DISPLAY");
  return {std::string("DISPLAY=") + (display ? display : ""), "SDL_AUDIODRIVER=dummy",
          "SDL12COMPAT_OPENGL_SCALING=0"};
}

TEST(StartupRunGl, OpenGlSetUpLinesInOrder) {
  std::string data = make_temp_dir("gl_startup");
  write_text_file(data, "game/game.ini", "hwaccel=1 bpp=16\n");
  game_run run = run_fight({"--data-dir", data, "--frames", "1"}, gl_env());
  EXPECT_EQ(0, run.exit_status) << run.err;
  size_t at = find_after(run.out, "Setting bpp to [16]\n", 0);
  at = find_after(run.out, "Total amount of video_mem: ", at);
  at = find_after(run.out, "Setting GL Atts [2]\n", at);
  at = find_after(run.out, "Setting up OpenGL 2D\n", at);
  at = find_after(run.out, "Max texture size[", at);
  EXPECT_NE(std::string::npos, at) << run.out << run.err;
}

TEST(StartupRunGl, OpenGlOptionOverridesTheSettings) {
  std::string data = make_temp_dir("gl_option");
  write_text_file(data, "game/game.ini", "width=320 height=240\n");
  std::string shot = data + "/gl.png";
  game_run run = run_fight({"--data-dir", data, "--opengl", "--frames", "2", "--screenshot", "1:" + shot}, gl_env());
  EXPECT_EQ(0, run.exit_status) << run.err;
  EXPECT_NE(std::string::npos, run.out.find("Setting up OpenGL 2D\n"));
  FILE* f = std::fopen(shot.c_str(), "rb");
  ASSERT_NE(nullptr, f);
  std::fclose(f);
}

}  // namespace

// The game started as a player or a script would start it, headless.
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "support/run_game.h"
#include "support/test_env.h"

namespace {

const std::vector<std::string> headless = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"};

TEST(StartupRun, HelpListsTheRunOptions) {
  game_run run = run_fight({"--help"}, headless);
  EXPECT_EQ(0, run.exit_status);
  for (const char* option : {"--data-dir", "--seed", "--script", "--frames", "--screenshot"}) {
    EXPECT_NE(std::string::npos, run.out.find(option)) << option;
  }
}

TEST(StartupRun, BadOptionsAreRefused) {
  EXPECT_EQ(2, run_fight({"--frames", "many"}, headless).exit_status);
  EXPECT_EQ(2, run_fight({"--bogus"}, headless).exit_status);
  EXPECT_EQ(2, run_fight({"--data-dir", "/nonexistent/dir/for/sure"}, headless).exit_status);
}

TEST(StartupRun, LogLinesInOrderWithTheDummyDriver) {
  std::string data = make_temp_dir("startup");
  write_text_file(data, "game/game.ini", "height=400\nfps=50\n");
  game_run run = run_fight({"--data-dir", data, "--frames", "1", "--seed", "1"}, headless);
  EXPECT_EQ(0, run.exit_status) << run.err;
  const char* in_order[] = {
      "Initialize SDL.\n",
      "SDL Initialized.\n",
      "load config [game\\game.ini]\n",
      "Setting size to [640,400]\n",
      "Setting fps to [50]\n",
      "0 joysticks were found.\n\n",
      "Is it possible to  create hardware surfaces?\n\thw_available=0\n",
      "Is there a window manager available?\n\twm_available=0\n",
      "Are hardware to hardware blits accelerated?\n\tblit_hw=0\n",
      "Are hardware to hardware colorkey blits accelerated?\n\tblit_hw_CC=0\n",
      "Are hardware to hardware alpha bits accelerated?\n\tblit_hw_A=0\n",
      "Are software to hardware blits accelerated?\n\tblit_sw=0\n",
      "Are software to hardware colorkey blits accelerated?\n\tblit_sw_CC=0\n",
      "Are software to hardware alpha blits accelerated?\n\tblit_sw_A=0\n",
      "Are color fills accelerated?\n\tblit_fill=0\n",
      "\n\n\t\tTotal amount of video_mem: ",
  };
  size_t at = 0;
  for (const char* line : in_order) {
    size_t found = find_after(run.out, line, at);
    ASSERT_NE(std::string::npos, found) << "missing or out of order: " << line << "\nlog:\n" << run.out;
    at = found + 1;
  }
  EXPECT_EQ(std::string::npos, run.out.find("OpenGL"));  // software mode says nothing about GL
}

TEST(StartupRun, MissingSettingsFileKeepsDefaults) {
  std::string data = make_temp_dir("no_ini");
  game_run run = run_fight({"--data-dir", data, "--frames", "1"}, headless);
  EXPECT_EQ(0, run.exit_status);
  EXPECT_NE(std::string::npos, run.out.find("Can't open [game\\game.ini]\n"));
}

TEST(StartupRun, UnsettableVideoModeEndsWithAFailureStatus) {
  std::string data = make_temp_dir("bad_mode");
  write_text_file(data, "game/game.ini", "hwaccel=1\n");
  // OpenGL through the dummy driver cannot work: the mode fails. No window,
  // no game: a failure, not the success status it once returned.
  game_run run = run_fight({"--data-dir", data, "--frames", "5"}, headless);
  EXPECT_EQ(1, run.exit_status);
  EXPECT_NE(std::string::npos, run.err.find("Couldn't set 640 x 480 x 32 video mode: "));
  EXPECT_NE(std::string::npos, run.err.find("ERROR: the game can't open its 640 x 480 x 32 window")) << run.err;
  EXPECT_NE(std::string::npos, run.out.find("Setting GL Atts [2]\n"));
  EXPECT_EQ(std::string::npos, run.out.find("Setting up OpenGL 2D"));
}

TEST(StartupRun, ScreenshotOfAFrameIsWritten) {
  std::string data = make_temp_dir("shot");
  write_text_file(data, "game/game.ini", "width=320 height=200\n");
  std::string shot = data + "/frame0.png";
  game_run run = run_fight({"--data-dir", data, "--frames", "1", "--screenshot", "0:" + shot}, headless);
  EXPECT_EQ(0, run.exit_status) << run.err;
  SDL_Surface* picture = IMG_Load(shot.c_str());
  ASSERT_NE(nullptr, picture) << run.err;
  EXPECT_EQ(320, picture->w);
  EXPECT_EQ(200, picture->h);
  SDL_FreeSurface(picture);
}

TEST(StartupRun, RelativeFilesAreRelativeToWhereTheGameStarted) {
  std::string data = make_temp_dir("relative");
  write_text_file(data, "game/game.ini", "width=64 height=48\n");
  std::string name = "relative_shot_" + std::to_string(::getpid()) + ".png";
  game_run run = run_fight({"--data-dir", data, "--frames", "1", "--screenshot", "0:" + name}, headless);
  EXPECT_EQ(0, run.exit_status) << run.err;
  EXPECT_EQ(0, std::remove(name.c_str()));  // written here, then cleaned up
  EXPECT_NE(0, std::remove((data + "/" + name).c_str()));
}

// A script that can't be played stops the game before it starts, with a
// non-zero status and a message naming the file (and the line at fault).
TEST(StartupRun, MissingOrMalformedKeyScriptIsRefused) {
  std::string data = make_temp_dir("bad_script");
  write_text_file(data, "keys.txt", "0 right down\n# a comment\n5 nosuchkey up\n");
  game_run run = run_fight({"--data-dir", data, "--script", data + "/keys.txt", "--frames", "3"}, headless);
  EXPECT_EQ(2, run.exit_status);
  EXPECT_NE(std::string::npos, run.err.find(data + "/keys.txt, line 3: ")) << run.err;
  EXPECT_EQ(std::string::npos, run.out.find("load config")) << "the game started anyway";

  const std::string missing = data + "/no_such_keys.txt";
  run = run_fight({"--data-dir", data, "--script", missing, "--frames", "3"}, headless);
  EXPECT_EQ(2, run.exit_status);
  EXPECT_NE(std::string::npos, run.err.find(missing + ": No such file")) << run.err;
}

}  // namespace

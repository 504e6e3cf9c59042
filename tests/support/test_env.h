// Shared set-up for the test programs: one video mode per process (software
// mode with the dummy driver, or OpenGL under a display), temporary data
// directories and captured log output.
#pragma once
#include <string>

// Sets the video mode once per process: software mode unless the program runs
// with GAME_TEST_MODE=gl. Later calls with another size are ignored.
void ensure_video(int width = 640, int height = 480);
bool gl_test_mode();

// A fresh empty directory under the system's temporary directory.
std::string make_temp_dir(const std::string& tag);
// Writes `text` to `dir`/`relative` (forward slashes), creating directories.
void write_text_file(const std::string& dir, const std::string& relative, const std::string& text);

// Writes a w x h opaque picture of one colour as `dir`/`relative` (a PNG,
// creating directories) and returns its path, usable as a data name.
std::string write_solid_picture(const std::string& dir, const std::string& relative, int w, int h,
                                unsigned char r, unsigned char g, unsigned char b);

// Runs `fn` with the process's standard output captured and returns it.
template <typename Fn>
std::string capture_stdout(Fn fn);

#include "support/test_env_impl.h"

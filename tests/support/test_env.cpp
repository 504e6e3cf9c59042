#include "support/test_env.h"

#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>
#include <unistd.h>

#include "app/video.h"
#include "core/png_write.h"

bool gl_test_mode() {
  const char* mode = std::getenv("GAME_TEST_MODE");
  return mode && std::string(mode) == "gl";
}

void ensure_video(int width, int height) {
  if (g_video.screen) return;
  g_video.flags = SDL_HWSURFACE | SDL_DOUBLEBUF;
  if (gl_test_mode()) g_video.flags |= SDL_OPENGL;
  if (g_video.set_video_mode(width, height, 32) != 0) {
    std::fprintf(stderr, "test set-up: cannot set the video mode: %s\n", SDL_GetError());
    std::exit(1);
  }
}

std::string make_temp_dir(const std::string& tag) {
  namespace fs = std::filesystem;
  static int counter = 0;
  fs::path dir = fs::temp_directory_path() /
                 ("fight_test_" + tag + "_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

std::string write_solid_picture(const std::string& dir, const std::string& relative, int w, int h,
                                unsigned char r, unsigned char g, unsigned char b) {
  namespace fs = std::filesystem;
  fs::path p = fs::path(dir) / relative;
  fs::create_directories(p.parent_path());
  std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 4);
  for (size_t i = 0; i < pixels.size(); i += 4) {
    pixels[i] = r;
    pixels[i + 1] = g;
    pixels[i + 2] = b;
    pixels[i + 3] = 255;
  }
  write_png(p.string(), pixels.data(), w, h, w * 4, 4);
  return p.string();
}

void write_text_file(const std::string& dir, const std::string& relative, const std::string& text) {
  namespace fs = std::filesystem;
  fs::path p = fs::path(dir) / relative;
  fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary);
  out << text;
}

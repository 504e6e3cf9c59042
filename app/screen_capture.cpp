#include "app/screen_capture.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <ctime>

#include "app/video.h"
#include "core/log.h"
#include "core/png_write.h"
#include "core/seams.h"
#include "core/user_dirs.h"
#include "core/user_file_write.h"

bool read_screen_rgba(std::vector<uint8_t>& rgba, int& w, int& h) {
  SDL_Surface* screen = g_video.screen;
  if (!screen) return false;
  w = screen->w;
  h = screen->h;
  rgba.assign(static_cast<size_t>(w) * h * 4, 0);
  if (g_video.opengl()) {
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    std::vector<uint8_t> raw(rgba.size());
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, raw.data());
    for (int y = 0; y < h; ++y) {  // OpenGL rows run bottom to top
      std::copy(raw.begin() + static_cast<long>(h - 1 - y) * w * 4, raw.begin() + static_cast<long>(h - y) * w * 4,
                rgba.begin() + static_cast<long>(y) * w * 4);
    }
  } else {
    SDL_Surface* copy = g_video.create_rgba_surface(w, h, 32, 0);
    if (!copy) return false;
    SDL_Surface* source = SDL_ConvertSurface(screen, copy->format, 0);
    if (!source) {
      SDL_FreeSurface(copy);
      return false;
    }
    SDL_LockSurface(source);
    for (int y = 0; y < h; ++y) {
      std::memcpy(rgba.data() + static_cast<size_t>(y) * w * 4,
                  static_cast<uint8_t*>(source->pixels) + static_cast<size_t>(y) * source->pitch,
                  static_cast<size_t>(w) * 4);
    }
    SDL_UnlockSurface(source);
    SDL_FreeSurface(source);
    SDL_FreeSurface(copy);
  }
  for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;  // screenshots are opaque
  return true;
}

void take_player_screenshot() {
  std::vector<uint8_t> rgba;
  int w = 0, h = 0;
  std::string png;
  if (!read_screen_rgba(rgba, w, h) || !encode_png(rgba.data(), w, h, w * 4, 4, png)) {
    log_out("WARNING: can't save the screenshot: the screen can't be read\n");
    return;
  }
  const std::time_t now = std::time(nullptr);
  std::tm local = {};
  localtime_r(&now, &local);
  char name[32];
  std::strftime(name, sizeof name, "%Y%m%d-%H%M%S.png", &local);
  user_file_target target;
  const std::string base = user_data_dir();
  target.dir = base + "/screenshots";
  target.name = name;
  char cwd[4096];  // the game runs in its data directory
  target.keep_out_of = getcwd(cwd, sizeof cwd) ? cwd : ".";
  std::string written, error;
  if (base.empty()) {
    error = "no folder for it (neither XDG_DATA_HOME nor HOME is set)";
  } else if (make_folders(base, error)) {
    if (write_user_file(target, png, written, error)) {
      log_out("NOTICE: screenshot saved as %s\n", written.c_str());
      return;
    }
  }
  log_out("WARNING: can't save the screenshot: %s\n", error.c_str());
}

void watch_screenshot_key() {
  static bool held = false;
  const bool down = key_state()[SDLK_F12] != 0;
  if (down && !held) take_player_screenshot();
  held = down;
}

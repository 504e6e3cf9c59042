#include "app/settings.h"

#include <SDL.h>

#include "core/config_file.h"
#include "core/log.h"

namespace {

// Reads `key` when it is set; refuses values outside [lo, hi] with a warning.
bool read_setting(const config_file& ini, const char* key, int lo, int hi, int& out) {
  if (!ini.has_key(key)) return false;
  int v = ini.get_int(key);
  if (v == 0) return false;
  if (v < lo || v > hi) {
    log_out("WARNING: game\\game.ini: %s=%d is outside %d..%d, keeping %d\n", key, v, lo, hi, out);
    return false;
  }
  out = v;
  return true;
}

}  // namespace

game_settings read_settings(const config_file& ini) {
  game_settings s;
  if (ini.has_key("fullscreen") && ini.get_int("fullscreen") != 0) s.flags |= SDL_FULLSCREEN;
  read_setting(ini, "width", 1, 16384, s.width);
  if (read_setting(ini, "height", 1, 16384, s.height)) {
    log_out("Setting size to [%d,%d]\n", s.width, s.height);
  }
  if (ini.has_key("bpp") && ini.get_int("bpp") != 0) {
    int bpp = ini.get_int("bpp");
    if (bpp == 8 || bpp == 15 || bpp == 16 || bpp == 24 || bpp == 32) {
      s.bpp = bpp;
      log_out("Setting bpp to [%d]\n", s.bpp);
    } else {
      log_out("WARNING: game\\game.ini: bpp=%d is not 8, 15, 16, 24 or 32, keeping %d\n", bpp, s.bpp);
    }
  }
  // The frame-rate limiter accepts 1..200.
  if (read_setting(ini, "fps", 1, 200, s.fps)) {
    log_out("Setting fps to [%d]\n", s.fps);
  }
  s.hwaccel = ini.has_key("hwaccel") && ini.get_int("hwaccel") != 0;
  return s;
}

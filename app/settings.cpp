#include "app/settings.h"

#include <SDL.h>

#include <utility>

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
  read_setting(ini, "width", 1, max_screen_side, s.width);
  if (read_setting(ini, "height", 1, max_screen_side, s.height)) {
    log_out("Setting size to [%d,%d]\n", s.width, s.height);
  }
  if (static_cast<long long>(s.width) * s.height > max_screen_pixels) {
    log_out("WARNING: game\\game.ini: width=%d height=%d is more than %lld pixels, keeping 640 x 480\n", s.width,
            s.height, max_screen_pixels);
    s.width = 640;
    s.height = 480;
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
  if (read_setting(ini, "fps", 1, max_fps, s.fps)) {
    log_out("Setting fps to [%d]\n", s.fps);
  }
  s.hwaccel = ini.has_key("hwaccel") && ini.get_int("hwaccel") != 0;
  read_setting(ini, "rounds", 1, 9, s.rounds);
  read_setting(ini, "round_time", 10, 999, s.round_time);
  read_setting(ini, "difficulty", 1, 5, s.difficulty);
  read_setting(ini, "scale", 1, 8, s.scale);
  s.smooth = ini.has_key("smooth") && ini.get_int("smooth") != 0;
  // Volumes may be 0, so these count when present.
  for (auto volume : {std::make_pair("effects_volume", &s.effects_volume), std::make_pair("music_volume", &s.music_volume)}) {
    if (!ini.has_key(volume.first)) continue;
    const int v = ini.get_int(volume.first);
    if (v < 0 || v > 10) {
      log_out("WARNING: game\\game.ini: %s=%d is outside 0..10, keeping %d\n", volume.first, v, *volume.second);
    } else {
      *volume.second = v;
    }
  }
  s.mute = ini.has_key("mute") && ini.get_int("mute") != 0;
  int push_apart = 0, hide_timing_figure = 0, hide_hit_boxes = 0;
  s.push_apart = read_setting(ini, "push_apart", 0, 1, push_apart);
  s.hide_timing_figure = read_setting(ini, "hide_timing_figure", 0, 1, hide_timing_figure);
  s.hide_hit_boxes = read_setting(ini, "hide_hit_boxes", 0, 1, hide_hit_boxes);
  read_setting(ini, "shot_name_height", 1, 1000, s.shot_name_height);
  int main_menu = 0;
  s.main_menu = read_setting(ini, "main_menu", 0, 1, main_menu) && main_menu == 1;
  return s;
}

bool bpp_usable(int bpp, bool opengl) { return bpp == 32 || (opengl && (bpp == 16 || bpp == 24)); }

void settle_bpp(game_settings& settings, bool opengl) {
  if (bpp_usable(settings.bpp, opengl)) return;
  log_out("WARNING: game\\game.ini: bpp=%d doesn't run at full speed in %s mode (%s), keeping 32\n", settings.bpp,
          opengl ? "OpenGL" : "software", opengl ? "16, 24 or 32 there" : "only 32 there");
  settings.bpp = 32;
}

#include "app/check/data_check_pictures.h"

#include <set>
#include <string>

#include "app/check/data_check.h"
#include "app/settings.h"
#include "core/config_file.h"
#include "gfx/picture_header.h"
#include "gfx/pixel_share.h"

void check_video_settings(data_checker& check, const config_file& ini) {
  const char* path = "game\\game.ini";
  // Each alone is checked against max_screen_side by the settings check.
  const int w = ini.has_key("width") && ini.get_int("width") != 0 ? ini.get_int("width") : 640;
  const int h = ini.has_key("height") && ini.get_int("height") != 0 ? ini.get_int("height") : 480;
  if (w >= 1 && h >= 1 && w <= max_screen_side && h <= max_screen_side &&
      static_cast<long long>(w) * h > max_screen_pixels) {
    check.error(path, ini.line_of(ini.line_of("height") > ini.line_of("width") ? "height" : "width"),
                "width=%d height=%d is more than %lld pixels (the game keeps 640 x 480)", w, h, max_screen_pixels);
  }
  const int bpp = ini.get_int("bpp");
  const bool opengl = ini.has_key("hwaccel") && ini.get_int("hwaccel") != 0;
  const bool listed = bpp == 8 || bpp == 15 || bpp == 16 || bpp == 24 || bpp == 32;
  if (ini.has_key("bpp") && listed && !bpp_usable(bpp, opengl)) {
    check.error(path, ini.line_of("bpp"), "bpp=%d doesn't run in %s mode (the game keeps 32)", bpp,
                opengl ? "OpenGL" : "software");
  }
}

bool check_picture_size(data_checker& check, const char* path, const data_site& by) {
  static std::set<std::string> counted;
  static long long total = 0;
  long long w = 0, h = 0;
  if (!declared_picture_size_of_file(path, w, h)) return true;  // the decoder decides
  const bool fresh = counted.insert(path).second;
  if (w > max_picture_side || h > max_picture_side || w * h > max_picture_pixels) {
    if (fresh) {
      check.error(path, 0, "picture size [%lld,%lld] is over the limit of %lld pixels a side and %lld in all", w, h,
                  max_picture_side, max_picture_pixels);
    }
    return false;
  }
  if (!fresh) return true;
  total += w * h;
  if (total > max_total_picture_pixels) {
    check.error(path, 0, "picture size [%lld,%lld] takes all pictures together over %lld pixels: the game refuses it",
                w, h, max_total_picture_pixels);
  }
  return true;
}

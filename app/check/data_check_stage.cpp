#include "app/check/data_check_stage.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/check/data_check.h"
#include "fight/fight_camera.h"
#include "app/settings.h"
#include "core/config_file.h"
#include "gfx/picture_header.h"
#include "stage/stage_window.h"

namespace {

struct picture_size {
  int w = 0, h = 0;  // 0 x 0 when the header can't be read (reported as a picture problem)
};

struct piece {
  int part = 0;
  int picture = 0;
  bool layered = false;
};

std::string key_of(const char* fmt, int a, int b = 0) {
  char key[64];
  std::snprintf(key, sizeof key, fmt, a, b);
  return key;
}

// The window size the game would use: game.ini's width and height when valid.
void screen_size(int& w, int& h) {
  game_settings defaults;
  w = defaults.width;
  h = defaults.height;
  config_file ini;
  if (!ini.load("game\\game.ini")) return;
  const int iw = ini.get_int("width"), ih = ini.get_int("height");
  if (iw >= 1 && iw <= 16384) w = iw;
  if (ih >= 1 && ih <= 16384) h = ih;
}

}  // namespace

void check_stage_cover(data_checker& check, const char* level_path, const config_file& level_cfg,
                       const config_file& set, int pictures) {
  if (pictures <= 0) return;
  int screen_w = 0, screen_h = 0;
  screen_size(screen_w, screen_h);

  std::vector<picture_size> sizes(static_cast<size_t>(pictures));
  int widest = 0;
  for (int m = 0; m < pictures; ++m) {
    long long w = 0, h = 0;
    if (!declared_picture_size_of_file(set.get_string(key_of("image%d", m).c_str()), w, h)) continue;
    if (w <= 0 || h <= 0 || w > 1000000 || h > 1000000) continue;
    sizes[m] = {static_cast<int>(w), static_cast<int>(h)};
    widest = std::max(widest, sizes[m].w);
  }
  double scale = 1.0;
  if (level_cfg.has_key("scale")) {
    const double s = level_cfg.get_float("scale");
    if (s >= 0.01 && s <= 10.0) scale = s;
  }

  // The pieces as the loader stacks them: the highest part first, part 0 at
  // the bottom of the screen.
  std::vector<piece> pieces;
  const int length = std::min(level_cfg.get_int("length"), 1000);
  int total_height = 0;
  for (int n = 0; n < length; ++n) {
    const std::string part = key_of("part%d", n);
    if (!level_cfg.has_key(part.c_str())) continue;
    const int p = level_cfg.get_int(part.c_str());
    if (p < 0 || p >= pictures || sizes[p].w == 0) continue;
    piece one{n, p, false};
    const int layers = std::min(level_cfg.get_int(key_of("part%dparallax", n).c_str()), 1000);
    for (int j = 0; j < layers && !one.layered; ++j) {
      const std::string layer = key_of("part%dparallax%d", n, j);
      const int q = level_cfg.get_int(layer.c_str());
      one.layered = level_cfg.has_key(layer.c_str()) && q >= 0 && q < pictures;
    }
    pieces.insert(pieces.begin(), one);
    total_height += sizes[p].h;
  }
  if (pieces.empty() || sizes[0].w == 0) return;

  const int max_width = static_cast<int>(widest * scale);
  const double widest_view = widest_camera_zoom(screen_w, max_width, scale) * scale;  // as the stage draws it
  std::vector<bool> covered(static_cast<size_t>(screen_h), false);
  const int base_y = screen_h - sizes[0].h;
  int remaining = total_height;
  for (const piece& one : pieces) {
    const picture_size& size = sizes[one.picture];
    const int y = base_y - remaining + size.h;
    remaining -= size.h;
    const char* file = set.get_string(key_of("image%d", one.picture).c_str());
    const int line = level_cfg.line_of(key_of("part%d", one.part).c_str());
    if (y <= -size.h || y >= screen_h) {
      // The stack is fixed on the screen: the camera scrolls inside pieces, never past them.
      check.warning(level_path, line,
                    "part%d's picture [%s] sits at screen rows %d..%d, %s the %dx%d screen: it is never drawn",
                    one.part, file, y, y + size.h - 1, y < 0 ? "above" : "below", screen_w, screen_h);
      continue;
    }
    int from = y, to = y + size.h;
    if (one.layered) {
      const double needed = covering_zoom(size.w, size.h, y + size.h, screen_w, screen_h, false);
      if (needed > widest_view * 1.000001) {
        // What the fight then shows: the camera zooms out past the picture
        // only to keep both fighters in view; the stage's backdrop fills the rest.
        const bool never = needed > closest_covering_view(scale) * 1.000001;
        check.warning(level_path, line,
                      "part%d's picture [%s] (%dx%d) cannot cover a %dx%d screen when the camera zooms out to "
                      "%.3f: it needs %.0fx%.0f; %s %.3f, the screen beyond the picture shows its edge colours, "
                      "darkened",
                      one.part, file, size.w, size.h, screen_w, screen_h, widest_view, screen_w / widest_view,
                      std::min(y + size.h, screen_h) / widest_view,
                      never ? "the camera never zooms in as far as" : "where the fighters need a zoom below", needed);
      }
      from = 0;  // zoomed about its bottom edge, it serves every row above it
    } else if (size.w < screen_w) {
      check.warning(level_path, line,
                    "part%d's picture [%s] is %d wide, narrower than the %d-wide screen: beside it the screen shows "
                    "the stage's edge colours, darkened",
                    one.part, file, size.w, screen_w);
    }
    for (int row = std::max(0, from); row < std::min(to, screen_h); ++row) covered[row] = true;
  }
  const auto bare = std::find(covered.begin(), covered.end(), false);
  if (bare != covered.end()) {
    const int first = static_cast<int>(bare - covered.begin());
    const int last = static_cast<int>(std::find(bare, covered.end(), true) - covered.begin()) - 1;
    check.warning(level_path, 0,
                  "no piece of the stage reaches screen rows %d..%d of a %dx%d screen: they show the stage's edge "
                  "colours, darkened",
                  first, last, screen_w, screen_h);
  }
}

#include "fight/fight_camera.h"

#include <algorithm>
#include <cmath>

#include "core/log.h"
#include "fight/fight_host.h"
#include "fighter/lifeform.h"
#include "stage/level.h"

namespace {
// However small a stage's pictures, the camera does not zoom in further than
// this to make them fill the screen (the data checker reports such stages).
constexpr double max_covering_zoom = 4.0;

// Screen width over the width the fighters need, with `scroll_x` not yet clamped.
double camera_zoom(int screen_w, int level_width, double level_scale, int right, int scroll_x) {
  const double s = level_scale != 0.0 ? level_scale : 1.0;
  const double half_rest = (level_width / s - right) * 0.5;
  // The margin is truncated like every other conversion; keep it inside int.
  const double d = std::trunc(std::max(-1e9, std::min(1e9, half_rest))) - scroll_x;
  return screen_w / (right * s + d);
}

}  // namespace

camera_view fight_camera(const lifeform& a, const lifeform& b, int screen_w, int screen_h, int level_width,
                         double level_scale) {
  camera_view view;
  view.scroll_y = (a.y + b.y) / 2 - (screen_h - (a.height + b.height) / 2);
  const int left = std::min(a.x, b.x);
  const int right = std::max(a.x + a.width, b.x + b.width);
  view.scroll_x = left / 2;

  const double zoom = camera_zoom(screen_w, level_width, level_scale, right, view.scroll_x);
  if (std::isfinite(zoom) && zoom > 0.0) {
    view.zoom = zoom;
  } else {
    static bool said = false;
    if (!said) {
      said = true;
      log_out("WARNING: camera zoom [%f] unusable (fighters span [%d..%d], level width [%d]), using 1.0\n", zoom,
              left, right, level_width);
    }
  }
  // Clamped after the zoom, which uses the unclamped value.
  if (view.scroll_x < 0) view.scroll_x = 0;
  return view;
}

double widest_camera_zoom(int screen_w, int level_width, double level_scale) {
  // The width the fighters need grows as the left one goes left; it grows
  // with the right one's x when the scale is at least 1/2, else it shrinks.
  const double s = level_scale != 0.0 ? level_scale : 1.0;
  const int far_right = static_cast<int>(std::max(0.0, std::min(1e9, level_width / s)));
  const double a = camera_zoom(screen_w, level_width, level_scale, far_right, 0);
  const double b = camera_zoom(screen_w, level_width, level_scale, 0, 0);
  const auto usable = [](double z) { return std::isfinite(z) && z > 0.0; };
  if (usable(a) && usable(b)) return std::min(a, b);
  return usable(a) ? a : (usable(b) ? b : 1.0);
}

void apply_camera(level& stage, const camera_view& view) {
  stage.scroll_x = view.scroll_x;
  stage.scroll_y = view.scroll_y;
  stage.zoom = view.zoom;
  // Zoomed out further than its pictures reach, the stage would leave part of
  // the screen bare: the camera stops there. The stage draws at zoom x scale.
  int screen_w = 0, screen_h = 0;
  if (!current_fight_host().screen_size(screen_w, screen_h)) return;
  const double s = stage.scale > 0.0 ? stage.scale : 1.0;
  const double cover = stage.covering_zoom(screen_w, screen_h) / s;
  const double closest = std::min(max_covering_zoom, cover);
  if (stage.zoom < closest) stage.zoom = closest;
}

void face_each_other(lifeform& a, lifeform& b) {
  const int ca = (a.x + a.width) / 2;
  const int cb = (b.x + b.width) / 2;
  if (ca < cb) {
    a.facing = 1;
    b.facing = 0;
  } else if (ca > cb) {
    a.facing = 0;
    b.facing = 1;
  }
}

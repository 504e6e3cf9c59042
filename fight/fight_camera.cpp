#include "fight/fight_camera.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/log.h"
#include "fight/fight_host.h"
#include "fighter/lifeform.h"
#include "gfx/img_mgr.h"
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

// Where a fighter is drawn, in the terms of the zoomed draw (which scales x
// from the screen's left edge and keeps the bottom edge): screen x of picture
// column u is (u - scroll_x) * zoom * k, the bottom edge is at screen row
// bottom - scroll_y and the top `rows * zoom * k` above it.
struct drawn_box {
  double left = 0.0, right = 0.0;  // picture columns
  double k = 1.0;                  // the fighter's own scale
  double bottom = 0.0;             // world row of the bottom edge
  double rows = 0.0;               // picture rows
};

drawn_box drawn_box_of(const lifeform& l) {
  drawn_box d;
  d.k = l.scale > 0.0 && std::isfinite(l.scale) ? l.scale : 1.0;
  d.left = l.x / d.k;
  d.right = d.left + std::max(0, l.width);
  d.bottom = static_cast<double>(l.y) + l.height;
  d.rows = std::max(0, l.height);
  // Knocked out, it lies in its picture centred under its box (see draw_lying).
  const img_mgr* lying = l.knocked_out_image;
  if (!l.alive() && lying && lying->get_width() > 0 && lying->get_height() > 0) {
    const double from = d.left + (l.width - lying->get_width()) / 2;
    d.left = std::min(d.left, from);
    d.right = std::max(d.right, from + lying->get_width());
    d.rows = std::max(d.rows, static_cast<double>(lying->get_height()));
  }
  return d;
}

struct scroll_range {
  double lo = -std::numeric_limits<double>::infinity();
  double hi = std::numeric_limits<double>::infinity();
  bool holds(int v) const { return v >= lo && v <= hi; }
  bool has_whole_number() const { return std::ceil(lo) <= std::floor(hi); }
  int nearest(int v) const {
    const double low = std::max(-1e9, std::ceil(lo)), high = std::min(1e9, std::floor(hi));
    return static_cast<int>(std::max(low, std::min(static_cast<double>(v), high)));
  }
};

// The scroll_x values that keep both boxes `margin` inside the screen's sides
// at drawn zoom z (the stage's zoom times its scale). The margin stops at the
// stage's ends (0 and world_right), where the stage itself ends; a box past an
// end is still shown whole. A negative margin lets boxes overhang the sides.
scroll_range across(const drawn_box (&f)[2], double z, int screen_w, int margin, double world_right) {
  scroll_range r;
  for (const drawn_box& d : f) {
    const double s = z * d.k;
    const double from = std::max(d.left - margin / s, std::min(d.left, 0.0));
    const double to = std::min(d.right + margin / s, std::max(d.right, world_right / d.k));
    r.lo = std::max(r.lo, to - screen_w / s);
    r.hi = std::min(r.hi, from);
  }
  return r;
}

// The scroll_y values that keep both boxes `margin` below the screen's top and
// their bottom edges on the screen.
scroll_range upwards(const drawn_box (&f)[2], double z, int screen_h, int margin) {
  scroll_range r;
  for (const drawn_box& d : f) {
    r.lo = std::max(r.lo, d.bottom - screen_h - std::min(0, margin));
    r.hi = std::min(r.hi, d.bottom - d.rows * z * d.k - margin);
  }
  return r;
}

}  // namespace

double closest_covering_view(double level_scale) {
  return max_covering_zoom * (level_scale > 0.0 ? level_scale : 1.0);
}

int fight_view_margin(int screen_w, int screen_h) { return std::max(4, std::min(screen_w, screen_h) / 24); }

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

void apply_camera(level& stage, const camera_view& view, const lifeform& a, const lifeform& b) {
  apply_camera(stage, view);
  stage.fill_uncovered = true;  // this camera may leave the pictures short of the screen
  int w = 0, h = 0;
  if (!current_fight_host().screen_size(w, h)) return;
  const double s = stage.scale > 0.0 ? stage.scale : 1.0;
  const drawn_box f[2] = {drawn_box_of(a), drawn_box_of(b)};
  const double z = stage.zoom * s;
  if (!(z > 0.0) || !std::isfinite(z)) return;
  const double world_right = stage.max_width / s;
  // A pixel or two over an edge is the rounding of the view that covers the
  // screen with the fighters at the stage's ends: that view stays.
  const int overhang = -2;
  const bool across_ok = across(f, z, w, overhang, world_right).holds(stage.scroll_x);
  const bool upwards_ok = upwards(f, z, h, overhang).holds(stage.scroll_y);
  if (across_ok && upwards_ok) return;

  // With the scroll kept, a lower zoom keeps in view what already was (x
  // shrinks towards the left edge, tops move down), so the closest zoom that
  // lets the scroll fix the rest is found by halving the interval.
  const int margin = fight_view_margin(w, h);
  const auto fits = [&](double zoom) {
    return (across_ok || across(f, zoom, w, margin, world_right).has_whole_number()) &&
           (upwards_ok || upwards(f, zoom, h, margin).has_whole_number());
  };
  double chosen = z;
  if (!fits(z)) {
    double lo = z / 2.0;
    for (int i = 0; i < 20 && !fits(lo); ++i) lo /= 2.0;
    if (fits(lo)) {
      double hi = std::min(z, 2.0 * lo);
      for (int i = 0; i < 30; ++i) {
        const double mid = 0.5 * (lo + hi);
        (fits(mid) ? lo : hi) = mid;
      }
      chosen = lo;
    }  // else no zoom can: the scroll does what it can at this one
  }
  stage.zoom = chosen / s;
  if (!across_ok) stage.scroll_x = across(f, chosen, w, margin, world_right).nearest(stage.scroll_x);
  if (!upwards_ok) stage.scroll_y = upwards(f, chosen, h, margin).nearest(stage.scroll_y);
}

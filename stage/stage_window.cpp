#include "stage/stage_window.h"

#include <algorithm>
#include <cmath>

namespace {
// Keeps a ratio computed from integers on the safe side of the integer it stands for.
constexpr double tolerance = 1e-9;

int to_int(double v) { return static_cast<int>(std::max(-1e9, std::min(1e9, v))); }
}  // namespace

int window_span(int screen_w, double zoom) {
  if (!(zoom > 0.0)) return screen_w;
  return to_int(std::ceil((screen_w + 1) / zoom - tolerance));
}

int window_margin(bool opengl, double zoom) { return opengl && zoom > 1.0 ? 1 : 0; }

int clamp_window_x(int x, int span, int picture_w, int margin) {
  if (span + margin > picture_w) return x;
  return std::max(margin, std::min(x, picture_w - span));
}

int clamp_window_y(int y, int picture_h, int bottom, int screen_h, double zoom, int margin) {
  if (!(zoom > 0.0)) return y;
  // Picture row at screen row t: y + picture_h - (bottom - t) / zoom. Screen
  // row 0 must show row 0 or below (a row spare for rounding) ...
  const int lowest = to_int(std::ceil((bottom + 1) / zoom - tolerance) - picture_h);
  // ... and the last screen row the picture serves a row `margin` above its bottom.
  const int highest = to_int(std::floor(std::max(0, bottom - screen_h) / zoom + tolerance)) - margin;
  if (lowest > highest) return highest;
  return std::max(lowest, std::min(y, highest));
}

double covering_zoom(int picture_w, int picture_h, int bottom, int screen_w, int screen_h, bool with_slack) {
  if (picture_w <= 0 || picture_h <= 0) return 0.0;
  const int rows = std::max(0, std::min(bottom, screen_h));
  if (!with_slack) return std::max(static_cast<double>(screen_w) / picture_w, static_cast<double>(rows) / picture_h);
  const double across = (screen_w + 1.0) / std::max(1, picture_w - 1);
  // With the bottom edge below the screen, the two roundings of
  // clamp_window_y each cost a row more.
  const int usable = picture_h - 1 - (bottom > screen_h ? 2 : 0);
  const double down = (rows + 1.0) / std::max(1, usable);
  return std::max(across, down) * (1.0 + tolerance);
}

#include "app/display_fit.h"

display_fit fit_logical_screen(int logical_w, int logical_h, int window_w, int window_h) {
  display_fit fit;
  if (logical_w <= 0 || logical_h <= 0 || window_w <= 0 || window_h <= 0) return fit;
  const long long lw = logical_w, lh = logical_h, ww = window_w, wh = window_h;
  if (ww * lh <= wh * lw) {
    // The window is narrower than the picture's shape: full width, bars above and below.
    fit.w = window_w;
    fit.h = static_cast<int>((ww * lh + lw / 2) / lw);
  } else {
    fit.h = window_h;
    fit.w = static_cast<int>((wh * lw + lh / 2) / lh);
  }
  if (fit.w < 1) fit.w = 1;
  if (fit.h < 1) fit.h = 1;
  fit.x = (window_w - fit.w) / 2;
  fit.y = (window_h - fit.h) / 2;
  return fit;
}

namespace {

// First offset o in [0, picture) with o * logical / picture >= l.
int first_offset(int l, int logical, int picture) {
  if (logical <= 0 || picture <= 0) return 0;
  return static_cast<int>((static_cast<long long>(l) * picture + logical - 1) / logical);
}

}  // namespace

int window_x_of(const display_fit& fit, int logical_w, int lx) { return fit.x + first_offset(lx, logical_w, fit.w); }

int window_y_of(const display_fit& fit, int logical_h, int ly) { return fit.y + first_offset(ly, logical_h, fit.h); }

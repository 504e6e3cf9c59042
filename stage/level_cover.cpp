// How far the camera may zoom out before the stage's zoomed pieces stop
// filling the screen.
#include <algorithm>

#include "stage/level.h"
#include "stage/stage_window.h"

double level::covering_zoom(int screen_w, int screen_h, bool with_slack) const {
  double needed = 0.0;
  int remaining = total_height;
  for (size_t k = 0; k < plist.size(); ++k) {
    const img_mgr& piece = plist[k];
    const int h = piece.height;
    const int r = remaining;
    remaining -= h;
    const int y = base_y - r + h;  // placed as draw places it
    if (y <= -h || y >= screen_h) continue;
    const bool layered = k < layered_segments.size() && layered_segments[k] && !layered_segments[k]->layers.empty();
    if (!layered) continue;  // drawn unzoomed: no zoom helps it
    needed = std::max(needed, ::covering_zoom(piece.width, h, y + h, screen_w, screen_h, with_slack));
  }
  return needed;
}

bool level::covers_screen(int screen_w, int screen_h, double drawn_zoom) const {
  if (plist.empty()) return false;
  // The camera's zoom went through a division by scale and back.
  if (drawn_zoom < covering_zoom(screen_w, screen_h) * (1.0 - 1e-9)) return false;
  int remaining = total_height;
  int top = screen_h;  // highest screen row a piece serves
  for (size_t k = 0; k < plist.size(); ++k) {
    const img_mgr& piece = plist[k];
    const int h = piece.height;
    const int r = remaining;
    remaining -= h;
    const int y = base_y - r + h;
    if (y <= -h || y >= screen_h) continue;
    const bool layered = k < layered_segments.size() && layered_segments[k] && !layered_segments[k]->layers.empty();
    if (layered) {
      top = std::min(top, 0);  // zoomed about its bottom edge, it serves every row above it
    } else {
      if (piece.width < screen_w) return false;
      top = std::min(top, y);
    }
  }
  return top <= 0;
}

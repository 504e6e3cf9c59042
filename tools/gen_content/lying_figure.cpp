#include "lying_figure.h"

#include <algorithm>

namespace {

// Limbs given to the floor: the far arm flung back over the head (behind it, so
// the face shows), the near one along the body, one knee raised; eyes shut.
Pose limp() {
  Pose p;
  p.lean = -4;
  p.nod = -14;
  p.arm_near = {-6, 8};
  p.arm_far = {158, 176};
  p.leg_near = {4, 2};
  p.leg_far = {34, -16};
  p.pained = true;
  return p;
}

// A quarter turn clockwise: the top goes right, the picture's left (the
// fighter's front) goes up.
Canvas turned(const Canvas& src) {
  Canvas out(src.height(), src.width());
  for (int y = 0; y < src.height(); ++y)
    for (int x = 0; x < src.width(); ++x) out.set(src.height() - 1 - y, x, src.get(x, y));
  return out;
}

}  // namespace

Canvas lying_figure(const Look& look) {
  const Canvas flat = turned(paint_fighter(look, limp()));
  int top = flat.height(), bottom = -1, left = flat.width(), right = -1;
  for (int y = 0; y < flat.height(); ++y)
    for (int x = 0; x < flat.width(); ++x) {
      if (flat.get(x, y) == kKey) continue;
      top = std::min(top, y), bottom = std::max(bottom, y);
      left = std::min(left, x), right = std::max(right, x);
    }
  // Two key-coloured pixels around it, three under it as under standing feet.
  const int margin = 2, floor_gap = 3;
  Canvas out(right - left + 1 + 2 * margin, bottom - top + 1 + margin + floor_gap);
  out.blit_keyed(flat, margin - left, margin - top);
  return out;
}

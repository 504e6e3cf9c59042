// Energy pictures: each fighter's projectile frames and the shared bullet.
#pragma once
#include "canvas.h"

constexpr int kBallFrames = 4;
// Frame `frame` (0-based) of a fighter's energy ball, flying left, trail right.
Canvas energy_ball(const Ramp& glow, int frame);
// The small glowing ball every projectile shows once its animation is over.
Canvas bullet();

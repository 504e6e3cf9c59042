#include "projectile_art.h"

#include <cmath>

#include "rng.h"
#include "shapes.h"

namespace {
constexpr float kPi = 3.14159265f;

// Wobbly blob: a circle whose radius ripples with the frame.
Shape blob(Vec c, float r, int frame, float ripple) {
  return {[=](float x, float y) {
            float dx = x - c.x, dy = y - c.y;
            float a = std::atan2(dy, dx);
            float rr = r + ripple * std::sin(a * 5 + frame * 1.7f);
            return std::sqrt(dx * dx + dy * dy) - rr;
          },
          {c.x - r - ripple, c.y - r - ripple, c.x + r + ripple, c.y + r + ripple}};
}
}  // namespace

Canvas energy_ball(const Ramp& g, int frame) {
  Canvas cv(72, 48);
  Rng rng(1000u + static_cast<uint32_t>(frame) * 7919u + g.base.r * 31u + g.base.b);
  Vec c{24, 24};
  // Trail of shrinking puffs behind the ball.
  for (int i = 5; i >= 1; --i) {
    Vec p{c.x + i * 8.0f + rng.range(-1.5f, 1.5f), c.y + rng.range(-4.0f, 4.0f)};
    float r = 11.0f - i * 1.6f;
    draw(cv, circle(p, r), Paint{{g.base, g.base, g.shade}, 1.5f, 2, 0, g.shade});
  }
  float pulse = 15.0f + (frame % 2) * 1.5f;
  draw(cv, blob(c, pulse, frame, 2.0f), Paint{{g.light, g.base, g.shade}, 2.0f, 4, 2, kOutline});
  fill(cv, circle(c + Vec{-2, -1}, pulse * 0.45f), g.light);
  // A few sparks flicking off the front.
  for (int i = 0; i < 3; ++i) {
    float a = rng.range(120, 240) * kPi / 180.0f;
    Vec s = c + Vec{std::cos(a), std::sin(a)} * (pulse + 4 + rng.range(0, 3));
    fill(cv, circle(s, 1.8f), g.light);
  }
  return cv;
}

Canvas bullet() {
  Canvas cv(32, 32);
  const Ramp fire{RGB{255, 252, 230}, RGB{255, 196, 70}, RGB{236, 110, 30}};
  draw(cv, circle(Vec{16, 16}, 12.5f), Paint{fire, 2.0f, 4, 2, RGB{120, 40, 16}});
  fill(cv, circle(Vec{14.5f, 14.5f}, 5.5f), fire.light);
  return cv;
}

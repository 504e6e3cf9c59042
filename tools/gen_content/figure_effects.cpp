// Effects painted into fighter pictures: impact sparks, hand glows, pain bursts
// and speed lines.
#include <cmath>

#include "figure_parts.h"

namespace {
constexpr float kPi = 3.14159265f;
const Ramp kSpark{RGB{255, 255, 240}, RGB{255, 226, 96}, RGB{250, 150, 40}};
const RGB kSparkEdge{170, 60, 20};

Shape star(Vec c, float r_out, float r_in, int points, float turn_deg) {
  std::vector<Vec> pts;
  for (int i = 0; i < points * 2; ++i) {
    float a = (turn_deg + i * 180.0f / points) * kPi / 180.0f;
    float r = (i % 2 == 0) ? r_out : r_in;
    pts.push_back(c + Vec{std::cos(a) * r, std::sin(a) * r});
  }
  return polygon(pts);
}

void spark(Canvas& cv, Vec at, float size) {
  Paint edge{kSpark, 2, 3, 0, kSparkEdge};
  draw(cv, star(at, 17 * size, 7 * size, 8, 10), edge);
  fill(cv, star(at, 8 * size, 4 * size, 4, 55), kSpark.light);
}

void glow(Canvas& cv, const Ramp& g, Vec at, float r) {
  fill(cv, circle(at, r), g.shade);
  fill(cv, circle(at, r * 0.72f), g.base);
  fill(cv, circle(at, r * 0.42f), g.light);
}
}  // namespace

void paint_effect(Canvas& cv, const Look& lk, const Pose& p, const Joints& j) {
  switch (p.fx) {
    case Effect::none:
      break;
    case Effect::spark_hand:
      spark(cv, j.hand_n + Vec{-6, 0}, p.fx_size);
      break;
    case Effect::spark_foot:
      spark(cv, j.toe_n + Vec{-4, 0}, p.fx_size);
      break;
    case Effect::glow_small:
      glow(cv, lk.glow, (j.hand_n + j.hand_f) * 0.5f, 9 * p.fx_size);
      break;
    case Effect::glow_big:
      glow(cv, lk.glow, (j.hand_n + j.hand_f) * 0.5f + Vec{-8, 0}, 17 * p.fx_size);
      break;
    case Effect::hurt: {
      Vec at = j.chest + Vec{-lk.chest_w * 0.55f, 4};
      Paint burst{Ramp{RGB{255, 255, 255}, RGB{255, 120, 110}, RGB{220, 40, 50}}, 2, 2, 0, kOutline};
      draw(cv, star(at, 13 * p.fx_size, 5 * p.fx_size, 6, 0), burst);
      break;
    }
    case Effect::speed_lines: {
      const RGB line{214, 222, 240};
      float y0 = j.chest.y - 10;
      for (int i = 0; i < 5; ++i) {
        float y = y0 + i * 22.0f;
        float x0 = j.pelvis.x + 18 + (i % 2) * 8;
        draw(cv, capsule(Vec{x0, y}, Vec{x0 + 40 - i * 3.0f, y}, 2.5f, 1.0f), flat(line, 1));
      }
      break;
    }
  }
}

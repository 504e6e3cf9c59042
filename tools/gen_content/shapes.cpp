#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float kPi = 3.14159265f;

float length(Vec v) { return std::sqrt(v.x * v.x + v.y * v.y); }
float dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }

Bounds grow(Bounds b, float d) { return {b.x0 - d, b.y0 - d, b.x1 + d, b.y1 + d}; }
}  // namespace

Shape circle(Vec c, float r) {
  return {[c, r](float x, float y) { return length(Vec{x, y} - c) - r; },
          {c.x - r, c.y - r, c.x + r, c.y + r}};
}

Shape ellipse(Vec c, float rx, float ry, float angle_deg) {
  float a = angle_deg * kPi / 180.0f, ca = std::cos(a), sa = std::sin(a);
  auto sd = [=](float x, float y) {
    float dx = x - c.x, dy = y - c.y;
    float px = dx * ca + dy * sa, py = -dx * sa + dy * ca;
    float k0 = std::sqrt((px / rx) * (px / rx) + (py / ry) * (py / ry));
    float k1 = std::sqrt((px / (rx * rx)) * (px / (rx * rx)) + (py / (ry * ry)) * (py / (ry * ry)));
    if (k1 < 1e-6f) return -std::min(rx, ry);
    return k0 * (k0 - 1.0f) / k1;
  };
  float r = std::max(rx, ry);
  return {sd, {c.x - r, c.y - r, c.x + r, c.y + r}};
}

Shape capsule(Vec a, Vec b, float ra, float rb) {
  auto sd = [=](float x, float y) {
    Vec p = Vec{x, y} - a, ab = b - a;
    float l2 = dot(ab, ab);
    float t = l2 > 0 ? std::clamp(dot(p, ab) / l2, 0.0f, 1.0f) : 0.0f;
    return length(p - ab * t) - (ra + (rb - ra) * t);
  };
  float r = std::max(ra, rb);
  return {sd, {std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r,
               std::max(a.y, b.y) + r}};
}

Shape polygon(const std::vector<Vec>& pts) {
  Bounds b{1e9f, 1e9f, -1e9f, -1e9f};
  for (Vec p : pts) {
    b.x0 = std::min(b.x0, p.x);
    b.y0 = std::min(b.y0, p.y);
    b.x1 = std::max(b.x1, p.x);
    b.y1 = std::max(b.y1, p.y);
  }
  auto sd = [pts](float x, float y) {
    Vec p{x, y};
    float d = dot(p - pts[0], p - pts[0]);
    bool in = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      Vec e = pts[j] - pts[i], w = p - pts[i];
      float t = std::clamp(dot(w, e) / std::max(1e-6f, dot(e, e)), 0.0f, 1.0f);
      Vec q = w - e * t;
      d = std::min(d, dot(q, q));
      if ((pts[i].y > y) != (pts[j].y > y) &&
          x < (pts[j].x - pts[i].x) * (y - pts[i].y) / (pts[j].y - pts[i].y) + pts[i].x)
        in = !in;
    }
    return (in ? -1.0f : 1.0f) * std::sqrt(d);
  };
  return {sd, b};
}

Shape bar(Vec a, Vec b, float half) {
  Vec d = b - a;
  float l = std::max(1e-6f, length(d));
  Vec n{-d.y / l * half, d.x / l * half};
  return polygon({a + n, b + n, b - n, a - n});
}

Shape unite(const Shape& a, const Shape& b) {
  auto fa = a.sd, fb = b.sd;
  return {[fa, fb](float x, float y) { return std::min(fa(x, y), fb(x, y)); },
          {std::min(a.box.x0, b.box.x0), std::min(a.box.y0, b.box.y0), std::max(a.box.x1, b.box.x1),
           std::max(a.box.y1, b.box.y1)}};
}

Shape subtract(const Shape& a, const Shape& b) {
  auto fa = a.sd, fb = b.sd;
  return {[fa, fb](float x, float y) { return std::max(fa(x, y), -fb(x, y)); }, a.box};
}

Paint flat(RGB c, float outline) { return Paint{{c, c, c}, outline, 0.0f, 0.0f, kOutline}; }

Paint toned(const Ramp& r, float outline, float shade, float light) {
  return Paint{r, outline, shade, light, kOutline};
}

void draw(Canvas& cv, const Shape& s, const Paint& p) {
  Bounds b = grow(s.box, p.outline + 1.0f);
  int x0 = std::max(0, static_cast<int>(std::floor(b.x0)));
  int y0 = std::max(0, static_cast<int>(std::floor(b.y0)));
  int x1 = std::min(cv.width() - 1, static_cast<int>(std::ceil(b.x1)));
  int y1 = std::min(cv.height() - 1, static_cast<int>(std::ceil(b.y1)));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      float fx = x + 0.5f, fy = y + 0.5f;
      float d = s.sd(fx, fy);
      if (d > p.outline) continue;
      if (d > 0) {
        cv.set(x, y, p.outline_colour);
        continue;
      }
      // A rim test can only succeed near the edge: the offset point moves the
      // distance by at most the offset's length.
      RGB c = p.tones.base;
      if (p.shade > 0 && d > -1.3f * p.shade && s.sd(fx + p.shade, fy + p.shade * 0.8f) > 0)
        c = p.tones.shade;
      else if (p.light > 0 && d > -1.5f * p.light && s.sd(fx - p.light, fy - p.light) > 0)
        c = p.tones.light;
      cv.set(x, y, c);
    }
}

void fill(Canvas& cv, const Shape& s, RGB c) { draw(cv, s, Paint{{c, c, c}, 0.0f, 0.0f, 0.0f, c}); }

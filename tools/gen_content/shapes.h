// Filled shapes described by signed distance (negative inside), drawn with hard
// edges, a dark outline and two-tone cel shading.
#pragma once
#include <functional>
#include <vector>

#include "canvas.h"

struct Vec {
  float x = 0, y = 0;
};
inline Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
inline Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
inline Vec operator*(Vec a, float s) { return {a.x * s, a.y * s}; }

struct Bounds {
  float x0, y0, x1, y1;
};

struct Shape {
  std::function<float(float, float)> sd;
  Bounds box;
};

Shape circle(Vec c, float r);
Shape ellipse(Vec c, float rx, float ry, float angle_deg = 0);
// A limb: segment a-b, radius ra at a growing or shrinking to rb at b.
Shape capsule(Vec a, Vec b, float ra, float rb);
Shape polygon(const std::vector<Vec>& pts);
// A rectangle around the segment a-b, `half` wide on each side (square ends).
Shape bar(Vec a, Vec b, float half);
Shape unite(const Shape& a, const Shape& b);
Shape subtract(const Shape& a, const Shape& b);

struct Paint {
  Ramp tones;
  float outline = 2.0f;   // outline thickness in pixels, 0 for none
  float shade = 4.0f;     // width of the shadow rim (lower right)
  float light = 2.0f;     // width of the lit rim (upper left), 0 for none
  RGB outline_colour = kOutline;
};

Paint flat(RGB c, float outline = 2.0f);
Paint toned(const Ramp& r, float outline = 2.0f, float shade = 4.0f, float light = 2.0f);

void draw(Canvas& cv, const Shape& s, const Paint& p);
// Fills the shape in one colour: no outline, no shading.
void fill(Canvas& cv, const Shape& s, RGB c);

#include "colour.h"

#include <algorithm>
#include <cmath>

RGB mix(RGB a, RGB b, float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  auto ch = [t](uint8_t x, uint8_t y) {
    return static_cast<uint8_t>(std::lround(x + (static_cast<float>(y) - x) * t));
  };
  return RGB{ch(a.r, b.r), ch(a.g, b.g), ch(a.b, b.b)};
}

bool near_key(RGB c) { return c.r < 24 && c.b < 24 && c.g > 231; }

RGB away_from_key(RGB c) {
  if (!near_key(c)) return c;
  return RGB{static_cast<uint8_t>(c.r + 40), static_cast<uint8_t>(c.g - 40), c.b};
}

// Conversion of a double to int toward zero, as everywhere in the game, that
// stays defined for values an int can't hold and for NaN (bad data can make
// a zoom, scale or step enormous).
#pragma once
#include <climits>
#include <cmath>

inline int trunc_to_int(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(v);
}

#include "core/trig_tables.h"

#include <cmath>

int sin100[360];
int cos100[360];

void fill_trig_tables() {
  const float radians_per_degree = 0.0174532924f;
  for (int d = 0; d < 360; ++d) {
    double r = d * static_cast<double>(radians_per_degree);
    sin100[d] = static_cast<int>(std::sin(r) * 100);
    cos100[d] = static_cast<int>(std::cos(r) * 100);
  }
}

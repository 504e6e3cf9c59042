// The lifeform's health gauge; the drawing itself belongs to the graphics code.
#include "fighter/lifeform.h"
#include "gfx/health_gauge.h"
#include "gfx/img_mgr.h"

void lifeform::draw_health_gauge(int gx, int gy, int pending) const {
  // The bar's full length is the width of the first image; none: a zero-length bar.
  const int full_length = !images.empty() && images[0] ? images[0]->get_width() : 0;
  int32_t count = pending;  // the gauge drawing counts down its own copy
  ::draw_health_gauge(hp, max_hp, facing, count, full_length, gx, gy);
}

// A filled rectangle over the stage in screen pixels, in either drawing mode:
// the backing of menus and the round marks by the gauges.
#pragma once
#include <cstdint>

// `alpha` 255 is opaque; lower values blend with what is already drawn.
void fill_hud_box(int x, int y, int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha);

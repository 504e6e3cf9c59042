// A fighter's health gauge: a slanted bar of coloured columns (red through
// yellow and white to green along the full length), 15 pixels high, each
// column's top 25 pixels right of its bottom, with a white outline along the
// top and the end of the fill. OpenGL lines in OpenGL mode, draw_line on the
// screen otherwise. The lifeform's draw_health_gauge calls this.
#pragma once
#include <cstdint>

// Colour of the column at position `i` of a bar of full length `full_length`.
struct gauge_colour {
  int r, g, b;
};
gauge_colour gauge_column_colour(int i, float full_length);

// (x, y): start of the bar at its top edge. `facing` 1 grows the bar to the
// right of x, anything else to the left. `first_image_width` is the full
// length. Draws only when gauge_count >= 1, and then lowers it by one.
void draw_health_gauge(int hp, int max_hp, int facing, int32_t& gauge_count, int first_image_width, int x, int y);

// Top-left corner of a label of text_width pixels shown by a gauge drawn at
// (x, y): just under the bar, flush with its outer end (the start of a bar
// growing right, the slanted top end of one growing left).
struct gauge_label_spot {
  int x, y;
};
gauge_label_spot gauge_label_position(int facing, int x, int y, int text_width);

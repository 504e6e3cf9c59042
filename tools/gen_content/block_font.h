// Chunky 5x7 block letters for titles, drawn from code.
#pragma once
#include <string>

#include "canvas.h"

struct TextStyle {
  int cell = 6;            // pixels per font dot
  RGB top{255, 230, 120};  // fill colour at the top of the letters
  RGB bottom{230, 90, 40}; // fill colour at the bottom
  RGB outline = kOutline;
  int outline_px = 3;
  int shadow = 4;          // drop shadow offset, 0 for none
  RGB shadow_colour{10, 6, 14};
};

int text_width(const std::string& text, int cell);
// Draws upper-case text with its top-left corner at (x, y).
void draw_text(Canvas& cv, const std::string& text, int x, int y, const TextStyle& st);
// Centred horizontally on the canvas.
void draw_text_centred(Canvas& cv, const std::string& text, int y, const TextStyle& st);

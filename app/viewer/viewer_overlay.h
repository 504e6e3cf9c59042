// What the fighter viewer draws over the stage and the fighter, in screen
// pixels and in either drawing mode: box outlines, the cross marking a
// picture's origin, and lines of text.
#pragma once
#include <SDL.h>

#include <string>

#include "app/text_renderer.h"

struct overlay_colour {
  Uint8 r, g, b;
};
constexpr overlay_colour hit_box_colour = {255, 40, 40};
constexpr overlay_colour origin_colour = {255, 230, 0};

// The rectangle's four edges, one pixel wide in software mode, two in OpenGL.
void draw_outline(int left, int top, int right, int bottom, overlay_colour c);
// A cross of arms `arm` pixels long centred on (x, y).
void draw_cross(int x, int y, int arm, overlay_colour c);

// The viewer's lines of text: `plain` in white, `alert` in yellow, both on an
// opaque black box so they read over any stage. Lives for the viewer's run.
class overlay_text {
 public:
  void open(SDL_Surface* screen, int point_size);
  void close();
  // Draws `text` at (x, y); returns the y of the next line.
  int line(int x, int y, const std::string& text, bool alert = false);
  int line_height() const;

 private:
  text_renderer plain_;
  text_renderer alert_;
};

#include "gfx/health_gauge.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include "gfx/img_internal.h"
#include "gfx/primitives.h"
#include "gfx/screen.h"

namespace {

int at_most_255(int v) { return v > 255 ? 255 : v; }

}  // namespace

gauge_colour gauge_column_colour(int i, float full_length) {
  const int v = trunc_to_int(i / full_length * 255);
  if (v <= 128) return {255, at_most_255(2 * v), 0};
  if (v <= 192) return {255, 255, at_most_255(4 * v - 512)};
  return {at_most_255(1023 - 4 * v), 255, at_most_255(1023 - 4 * v)};
}

gauge_label_spot gauge_label_position(int facing, int x, int y, int text_width) {
  const int below = y + 15 + 2;  // the bar is 15 pixels high
  if (facing == 1) return {x + 4, below};
  return {x + 25 - 4 - text_width, below};  // the top end lies 25 pixels right of x
}

void draw_health_gauge(int hp, int max_hp, int facing, int32_t& gauge_count, int first_image_width, int x, int y) {
  if (gauge_count < 1) return;
  SDL_Surface* screen = g_screen.screen;
  if (!screen) return;
  const bool gl = opengl_mode();
  if (gl) glLineWidth(1.0f);
  const Uint32 white = SDL_MapRGB(screen->format, 255, 255, 255);
  const float length = static_cast<float>(first_image_width);
  // No maximum means nothing to show, not a division by zero.
  const float fill = max_hp != 0 ? static_cast<float>(static_cast<double>(hp) / max_hp * length) : 0.0f;
  if (!gl) SDL_LockSurface(screen);  // a failed lock is ignored

  for (int i = 0; i < fill; ++i) {
    const gauge_colour c = gauge_column_colour(i, length);
    const int column = facing == 1 ? x + i : x - i;
    if (gl) {
      const double k = 0.00392156862745098;
      glBegin(GL_LINES);
      glColor3f(static_cast<float>(c.r * k), static_cast<float>(c.g * k), static_cast<float>(c.b * k));
      glVertex2i(column + 25, y);
      glVertex2i(column, y + 15);
      glEnd();
    } else {
      const Uint32 colour = SDL_MapRGB(screen->format, static_cast<Uint8>(c.r), static_cast<Uint8>(c.g),
                                       static_cast<Uint8>(c.b));
      draw_line(screen, column + 25, y, column, y + 15, colour, 255, 0);
    }
  }

  const float end = facing == 1 ? x + fill : x - fill;
  const int tip = trunc_to_int(end + 25);
  if (gl) {
    glBegin(GL_LINES);
    glColor3f(1.0f, 1.0f, 1.0f);
    glVertex2i(x + 25, y);
    glVertex2i(tip, y);
    glVertex2i(tip, y);
    glVertex2i(trunc_to_int(end), y + 15);
    glEnd();
  } else {
    draw_line(screen, x + 25, y, tip, y, white, 255, 0);
    draw_line(screen, tip, y, trunc_to_int(end), y + 15, white, 255, 0);
    SDL_UnlockSurface(screen);
  }
  --gauge_count;
}

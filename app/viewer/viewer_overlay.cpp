#include "app/viewer/viewer_overlay.h"

#include <SDL_opengl.h>

#include "app/video.h"
#include "gfx/primitives.h"

namespace {

void draw_lines(const int* points, int count, overlay_colour c) {
  SDL_Surface* screen = g_video.screen;
  if (!screen) return;
  if (opengl_mode()) {
    glDisable(GL_TEXTURE_2D);
    glLineWidth(2.0f);
    glColor3ub(c.r, c.g, c.b);
    glBegin(GL_LINES);
    for (int i = 0; i < count; ++i) {
      glVertex2i(points[4 * i], points[4 * i + 1]);
      glVertex2i(points[4 * i + 2], points[4 * i + 3]);
    }
    glEnd();
    glColor3ub(255, 255, 255);
    return;
  }
  const uint32_t colour = SDL_MapRGB(screen->format, c.r, c.g, c.b);
  SDL_LockSurface(screen);
  for (int i = 0; i < count; ++i) {
    draw_line(screen, points[4 * i], points[4 * i + 1], points[4 * i + 2], points[4 * i + 3], colour);
  }
  SDL_UnlockSurface(screen);
}

}  // namespace

void draw_outline(int left, int top, int right, int bottom, overlay_colour c) {
  // A box standing on the floor ends at the screen's last row, not below it.
  const int last_row = g_video.screen ? g_video.screen->h - 1 : bottom;
  if (bottom > last_row) bottom = last_row;
  const int edges[16] = {left, top, right, top, right, top, right, bottom,
                         right, bottom, left, bottom, left, bottom, left, top};
  draw_lines(edges, 4, c);
}

void draw_cross(int x, int y, int arm, overlay_colour c) {
  const int arms[8] = {x - arm, y, x + arm, y, x, y - arm, x, y + arm};
  draw_lines(arms, 2, c);
}

void overlay_text::open(SDL_Surface* screen, int point_size) {
  for (text_renderer* r : {&plain_, &alert_}) {
    r->create(screen);
    r->point_size = point_size;
    r->open_font("rsrc\\Veranda.ttf");
  }
  alert_.fg = SDL_Color{255, 230, 0, 0};
}

void overlay_text::close() {
  plain_.destroy();
  alert_.destroy();
}

int overlay_text::line_height() const {
  if (!plain_.font_open) return 16;
  // Each line's box is as tall as the font; a shorter skip would let the next
  // box cover this line's underscores.
  const int skip = TTF_FontLineSkip(plain_.font);
  const int box = TTF_FontHeight(plain_.font);
  return skip > box ? skip : box;
}

int overlay_text::line(int x, int y, const std::string& text, bool alert) {
  text_renderer& r = alert ? alert_ : plain_;
  // Without a font each draw would retry the fallback and print a line.
  if (r.font_open && !text.empty()) {
    r.x = x;
    r.y = y;
    r.draw_text(text.c_str());
  }
  return y + line_height();
}

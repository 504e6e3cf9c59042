#include "stage/stage_backdrop.h"

#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "gfx/img_mgr.h"
#include "gfx/screen.h"

namespace {

constexpr int edge_pixels = 4;        // read at each end of a row
constexpr uint32_t no_colour = 0x202020;  // a picture without pixels
// Darker than the stage, so where the pictures end stays plain to see.
constexpr int shade_num = 3, shade_den = 4;

uint32_t shaded(uint32_t c) {
  const uint32_t r = ((c >> 16) & 0xFF) * shade_num / shade_den;
  const uint32_t g = ((c >> 8) & 0xFF) * shade_num / shade_den;
  const uint32_t b = (c & 0xFF) * shade_num / shade_den;
  return (r << 16) | (g << 8) | b;
}

void fill_rows(int top, int count, uint32_t c, int screen_w) {
  if (count <= 0) return;
  const Uint8 r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
  if (opengl_mode()) {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glColor4ub(r, g, b, 255);
    glBegin(GL_QUADS);
    glVertex2i(0, top);
    glVertex2i(screen_w, top);
    glVertex2i(screen_w, top + count);
    glVertex2i(0, top + count);
    glEnd();
    glColor4ub(255, 255, 255, 255);
    return;
  }
  SDL_Surface* screen = g_screen.screen;
  SDL_Rect rect{0, static_cast<Sint16>(top), static_cast<Uint16>(screen_w), static_cast<Uint16>(count)};
  SDL_FillRect(screen, &rect, SDL_MapRGB(screen->format, r, g, b));
}

// The mean edge colour of picture row y, false when the row's edges are all key colour.
bool row_edge_colour(SDL_Surface* s, int y, uint32_t& out) {
  const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch);
  unsigned long sum[3] = {0, 0, 0};
  int count = 0;
  for (int k = 0; k < 2 * edge_pixels; ++k) {
    const int x = k < edge_pixels ? k : s->w - 2 * edge_pixels + k;
    if (x < 0 || x >= s->w) continue;
    Uint8 r, g, b;
    SDL_GetRGB(row[x], s->format, &r, &g, &b);
    if (r == 0 && g == 255 && b == 0) continue;  // the key colour shows nothing
    sum[0] += r, sum[1] += g, sum[2] += b;
    ++count;
  }
  if (count == 0) return false;
  out = static_cast<uint32_t>(((sum[0] / count) << 16) | ((sum[1] / count) << 8) | (sum[2] / count));
  return true;
}

bool readable(SDL_Surface* s) { return s && s->w > 0 && s->h > 0 && s->format->BytesPerPixel == 4; }

}  // namespace

std::vector<uint32_t> edge_colours(const std::vector<const img_mgr*>& back_to_front, int rows) {
  std::vector<uint32_t> colours;
  if (rows <= 0) return colours;
  std::vector<SDL_Surface*> surfaces;
  for (const img_mgr* picture : back_to_front) {
    SDL_Surface* s = picture ? picture->pixels() : nullptr;
    if (readable(s) && SDL_LockSurface(s) == 0) surfaces.push_back(s);
  }
  if (surfaces.empty()) return colours;
  colours.reserve(static_cast<size_t>(rows));
  uint32_t last = no_colour;
  for (int r = 0; r < rows; ++r) {
    // The front-most picture with something at its edges on this row, the
    // pictures standing on one bottom edge as the stage draws them.
    for (auto it = surfaces.rbegin(); it != surfaces.rend(); ++it) {
      const int y = (*it)->h - (rows - r);
      if (y >= 0 && y < (*it)->h && row_edge_colour(*it, y, last)) break;
    }
    colours.push_back(last);
  }
  for (SDL_Surface* s : surfaces) SDL_UnlockSurface(s);
  return colours;
}

void paint_backdrop(const std::vector<uint32_t>& rows, int window_y, int bottom, double zoom, int screen_w,
                    int screen_h) {
  if (!g_screen.screen || screen_w <= 0 || screen_h <= 0) return;
  if (rows.empty() || !(zoom > 0.0)) {
    fill_rows(0, screen_h, no_colour, screen_w);
    return;
  }
  const int last = static_cast<int>(rows.size()) - 1;
  const auto colour_at = [&](int t) {
    const double p = window_y + static_cast<double>(rows.size()) - (bottom - t) / zoom;
    const int row = static_cast<int>(std::max(0.0, std::min(static_cast<double>(last), std::floor(p))));
    return shaded(rows[static_cast<size_t>(row)]);
  };
  // Runs of rows of one colour make one fill each.
  int start = 0;
  uint32_t colour = colour_at(0);
  for (int t = 1; t <= screen_h; ++t) {
    const uint32_t next = t < screen_h ? colour_at(t) : ~colour;
    if (next == colour) continue;
    fill_rows(start, t - start, colour, screen_w);
    start = t;
    colour = next;
  }
}

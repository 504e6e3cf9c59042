#include "gfx/primitives.h"

#include <cmath>
#include <cstdlib>

void put_pixel(SDL_Surface* surface, int x, int y, uint32_t colour) {
  if (!surface || !surface->pixels || x < 0 || y < 0 || x >= surface->w || y >= surface->h) return;
  const int bpp = surface->format->BytesPerPixel;
  Uint8* p = static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * bpp;
  switch (bpp) {
    case 1:
      *p = static_cast<Uint8>(colour);
      break;
    case 2:
      *reinterpret_cast<Uint16*>(p) = static_cast<Uint16>(colour);
      break;
    case 3:
      p[0] = static_cast<Uint8>(colour);
      p[1] = static_cast<Uint8>(colour >> 8);
      p[2] = static_cast<Uint8>(colour >> 16);
      break;
    case 4:
      *reinterpret_cast<Uint32*>(p) = colour;
      break;
    default:
      break;
  }
}

void draw_line(SDL_Surface* surface, int x1, int y1, int x2, int y2, uint32_t colour, int alpha,
               int flags) {
  const int dx = x2 - x1;
  const int dy = y2 - y1;
  const bool x_major = std::abs(dx) >= std::abs(dy);
  int major = x_major ? x1 : y1;
  int major_end = x_major ? x2 : y2;
  const int minor_start = x_major ? y1 : x1;
  const double slope = x_major ? (dx != 0 ? static_cast<double>(dy) / dx : 0.0)
                               : static_cast<double>(dx) / dy;
  const int step = major > major_end ? -1 : 1;
  major_end += step;
  const float minor_step = static_cast<float>(step * slope);
  float f = static_cast<float>(minor_start);
  while (major != major_end) {
    const int minor = static_cast<int>(std::floor(static_cast<double>(f) + 0.5));
    if (x_major) {
      put_pixel(surface, major, minor, colour);
    } else {
      put_pixel(surface, minor, major, colour);
    }
    f = f + minor_step;
    major += step;
  }
}

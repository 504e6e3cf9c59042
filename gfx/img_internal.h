// Helpers shared by the image drawing files; not for use outside gfx/.
#pragma once
#include <SDL.h>

#include <cmath>
#include <climits>

#include "core/safe_trunc.h"

// Counting the images that hold a texture name (img_mgr::texture).
void hold_texture(uint32_t texture);
void let_go_texture(uint32_t texture);


// Rectangle fields keep 16 bits, with wrap-around, like the SDL 1.2 rectangle.
inline Sint16 to_s16(int v) { return static_cast<Sint16>(static_cast<Uint16>(static_cast<unsigned>(v) & 0xFFFFu)); }
inline Uint16 to_u16(int v) { return static_cast<Uint16>(static_cast<unsigned>(v) & 0xFFFFu); }

// The floor's strips: from the scaled rectangles of a zoomed draw, one strip
// per screen row (`rows` of them), each reading trunc(g) source rows at
// g / depth below the window's top and shifted left by half its row index,
// g growing by `depth` after each group. `blit` copies one strip and writes
// the clipped destination back, as SDL_BlitSurface does.
template <typename Blit>
void for_each_floor_strip(SDL_Rect& src, SDL_Rect& dst, int rows, double depth, Blit blit) {
  const int sy = src.y;
  const int x0 = dst.x;
  const int y0 = dst.y;
  double g = 1.0;
  int i = 0;
  while (i < rows) {
    src.y = to_s16(trunc_to_int(g / depth + sy));
    src.h = to_u16(trunc_to_int(g));
    dst.h = 1;
    const int n = trunc_to_int(g);
    for (int k = 0; k < n; ++k) {
      dst.y = to_s16(y0 + i);
      dst.x = to_s16(x0 - i / 2);
      dst.w = src.w;
      blit();
      ++i;
    }
    g += depth;
  }
}

// SDL_BlitSurface with the failure printed on standard error.
void blit_or_log(SDL_Surface* src, SDL_Rect* src_rect, SDL_Surface* dst, SDL_Rect* dst_rect);

// The blit of a draw onto its target. Surfaces made by conversions and zooms
// carry the blending flag at full opacity; with no alpha channel on either
// side that blends to exactly the source pixel, so (with the fast paths on)
// the flag is dropped for good and the blit takes the plain keyed path.
void blit_to_target(SDL_Surface* src, SDL_Rect* src_rect, SDL_Surface* dst, SDL_Rect* dst_rect);

// The textured-quad state of every image draw, up to (not including) the colour.
void begin_textured_quad(unsigned texture);
void end_textured_quad();

// draw_depth in OpenGL mode (floor_gl.cpp): the floor's strips as quads.
class img_mgr;
void draw_floor_gl(img_mgr& img, int x, int y, SDL_Surface* target, double zoom, double depth);

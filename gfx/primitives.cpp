#include "gfx/primitives.h"

#include <SDL_gfxPrimitives.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

namespace {

// Each colour channel moves towards full by alpha/256 of its distance, as
// SDL_gfx's translucent box does (its result for every channel value and
// alpha was compared with this one).
uint32_t whiten_channel(uint32_t pixel, uint32_t mask, int shift, uint32_t alpha) {
  const uint32_t c = (pixel & mask) >> shift;
  return ((c + (((255 - c) * alpha) >> 8)) << shift) & mask;
}

}  // namespace

void whiten_surface(SDL_Surface* surface, uint8_t alpha) {
  if (!surface) return;
  const SDL_PixelFormat* f = surface->format;
  const bool plain_32_bit = f->BytesPerPixel == 4 && f->Amask == 0 && f->Rloss == 0 && f->Gloss == 0 &&
                            f->Bloss == 0 && f->Rmask && f->Gmask && f->Bmask;
  const SDL_Rect& clip = surface->clip_rect;
  if (!plain_32_bit || alpha == 255) {
    boxRGBA(surface, clip.x, clip.y, static_cast<Sint16>(clip.x + clip.w - 1), static_cast<Sint16>(clip.y + clip.h - 1),
            255, 255, 255, alpha);
    return;
  }
  if (alpha == 0 || clip.w == 0 || clip.h == 0) return;
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
  const uint32_t channels = f->Rmask | f->Gmask | f->Bmask;
  [[maybe_unused]] const bool byte_channels = f->Rshift % 8 == 0 && f->Gshift % 8 == 0 && f->Bshift % 8 == 0;
  for (int y = clip.y; y < clip.y + clip.h; ++y) {
    uint32_t* p = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) +
                                              static_cast<size_t>(y) * surface->pitch) + clip.x;
    int x = 0;
#ifdef __SSE2__
    // Four pixels at a time in 16-bit lanes; the same integer formula, so the
    // same values (a frame with a flash at 1920 x 1080 is 2 million pixels).
    if (byte_channels) {
      const __m128i zero = _mm_setzero_si128();
      const __m128i full = _mm_set1_epi16(255);
      const __m128i a16 = _mm_set1_epi16(static_cast<short>(alpha));
      const __m128i keep = _mm_set1_epi32(static_cast<int>(~channels));
      const __m128i chan = _mm_set1_epi32(static_cast<int>(channels));
      for (; x + 4 <= clip.w; x += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + x));
        __m128i lo = _mm_unpacklo_epi8(v, zero);
        __m128i hi = _mm_unpackhi_epi8(v, zero);
        lo = _mm_add_epi16(lo, _mm_srli_epi16(_mm_mullo_epi16(_mm_sub_epi16(full, lo), a16), 8));
        hi = _mm_add_epi16(hi, _mm_srli_epi16(_mm_mullo_epi16(_mm_sub_epi16(full, hi), a16), 8));
        const __m128i out = _mm_or_si128(_mm_and_si128(_mm_packus_epi16(lo, hi), chan), _mm_and_si128(v, keep));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + x), out);
      }
    }
#endif
    for (; x < clip.w; ++x) {
      const uint32_t v = p[x];
      p[x] = whiten_channel(v, f->Rmask, f->Rshift, alpha) | whiten_channel(v, f->Gmask, f->Gshift, alpha) |
             whiten_channel(v, f->Bmask, f->Bshift, alpha) | (v & ~(f->Rmask | f->Gmask | f->Bmask));
    }
  }
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
}

#include "app/screen_scaler.h"

#include <cstring>

namespace {

// a + (b - a) * f / 256 on each byte of a packed pixel.
inline uint32_t blend(uint32_t a, uint32_t b, uint32_t f) {
  const uint32_t g = 256 - f;
  const uint32_t rb = (((a & 0x00FF00FFu) * g + (b & 0x00FF00FFu) * f) >> 8) & 0x00FF00FFu;
  const uint32_t ag = (((a >> 8) & 0x00FF00FFu) * g + ((b >> 8) & 0x00FF00FFu) * f) & 0xFF00FF00u;
  return rb | ag;
}

Uint8* row_at(SDL_Surface* s, int y) { return static_cast<Uint8*>(s->pixels) + static_cast<size_t>(y) * s->pitch; }

// Black over the window outside the picture.
void paint_bars(SDL_Surface* window, const display_fit& fit) {
  const Uint32 black = SDL_MapRGB(window->format, 0, 0, 0);
  SDL_Rect bars[4] = {
      {0, 0, static_cast<Uint16>(window->w), static_cast<Uint16>(fit.y)},
      {0, static_cast<Sint16>(fit.y + fit.h), static_cast<Uint16>(window->w),
       static_cast<Uint16>(window->h - fit.y - fit.h)},
      {0, static_cast<Sint16>(fit.y), static_cast<Uint16>(fit.x), static_cast<Uint16>(fit.h)},
      {static_cast<Sint16>(fit.x + fit.w), static_cast<Sint16>(fit.y), static_cast<Uint16>(window->w - fit.x - fit.w),
       static_cast<Uint16>(fit.h)},
  };
  for (SDL_Rect& r : bars) {
    if (r.w > 0 && r.h > 0) SDL_FillRect(window, &r, black);
  }
}

}  // namespace

void linear_sample(int o, int logical, int picture, int& left, uint32_t& weight) {
  // Centre of window pixel o in logical pixels, less half a pixel, in 1/256ths.
  long long pos = ((2LL * o + 1) * logical * 256) / (2LL * picture) - 128;
  if (pos < 0) pos = 0;
  left = static_cast<int>(pos >> 8);
  weight = static_cast<uint32_t>(pos & 255);
  if (left >= logical - 1) {
    left = logical - 1;
    weight = 0;
  }
}

void screen_scaler::build_tables(int logical_w, int fit_w) {
  if (logical_w == table_logical_w && fit_w == table_fit_w) return;
  table_logical_w = logical_w;
  table_fit_w = fit_w;
  nearest_x.resize(fit_w);
  linear_x.resize(fit_w);
  weight_x.resize(fit_w);
  for (int o = 0; o < fit_w; ++o) {
    nearest_x[o] = logical_of(o, logical_w, fit_w);
    linear_sample(o, logical_w, fit_w, linear_x[o], weight_x[o]);
  }
  rows[0].assign(fit_w, 0);
  rows[1].assign(fit_w, 0);
  row_of[0] = row_of[1] = -1;
}

void screen_scaler::draw(SDL_Surface* logical, SDL_Surface* window, const display_fit& fit, bool smooth) {
  if (!logical || !window || fit.w <= 0 || fit.h <= 0) return;
  if (SDL_MUSTLOCK(window) && SDL_LockSurface(window) != 0) return;
  build_tables(logical->w, fit.w);
  row_of[0] = row_of[1] = -1;  // the logical screen was drawn again since
  if (smooth && logical->format->BytesPerPixel == 4 && logical->w > 1 && logical->h > 1) {
    draw_linear(logical, window, fit);
  } else {
    draw_nearest(logical, window, fit);
  }
  if (SDL_MUSTLOCK(window)) SDL_UnlockSurface(window);
  paint_bars(window, fit);
}

void screen_scaler::draw_nearest(SDL_Surface* logical, SDL_Surface* window, const display_fit& fit) {
  const int bpp = logical->format->BytesPerPixel;
  const size_t row_bytes = static_cast<size_t>(fit.w) * bpp;
  int previous = -1;
  for (int o = 0; o < fit.h; ++o) {
    const int ly = logical_of(o, logical->h, fit.h);
    Uint8* out = row_at(window, fit.y + o) + static_cast<size_t>(fit.x) * bpp;
    if (ly == previous) {
      std::memcpy(out, out - window->pitch, row_bytes);  // the same logical row again
      continue;
    }
    previous = ly;
    const Uint8* in = row_at(logical, ly);
    if (fit.w == logical->w) {
      std::memcpy(out, in, row_bytes);  // shown 1:1
    } else if (bpp == 4) {
      const uint32_t* src = reinterpret_cast<const uint32_t*>(in);
      uint32_t* dst = reinterpret_cast<uint32_t*>(out);
      for (int x = 0; x < fit.w; ++x) dst[x] = src[nearest_x[x]];
    } else {
      for (int x = 0; x < fit.w; ++x) std::memcpy(out + x * bpp, in + nearest_x[x] * bpp, bpp);
    }
  }
}

const uint32_t* screen_scaler::scaled_row(SDL_Surface* logical, int row, int width) {
  for (int k = 0; k < 2; ++k) {
    if (row_of[k] == row) return rows[k].data();
  }
  // Replace the row further from this one (rows are asked for in order).
  const int k = row_of[0] < row_of[1] ? 0 : 1;
  const uint32_t* src = reinterpret_cast<const uint32_t*>(row_at(logical, row));
  uint32_t* dst = rows[k].data();
  for (int x = 0; x < width; ++x) {
    const int l = linear_x[x];
    const uint32_t f = weight_x[x];
    dst[x] = f ? blend(src[l], src[l + 1], f) : src[l];
  }
  row_of[k] = row;
  return dst;
}

void screen_scaler::draw_linear(SDL_Surface* logical, SDL_Surface* window, const display_fit& fit) {
  for (int o = 0; o < fit.h; ++o) {
    int top = 0;
    uint32_t f = 0;
    linear_sample(o, logical->h, fit.h, top, f);
    uint32_t* out = reinterpret_cast<uint32_t*>(row_at(window, fit.y + o)) + fit.x;
    const uint32_t* a = scaled_row(logical, top, fit.w);
    if (f == 0) {
      std::memcpy(out, a, static_cast<size_t>(fit.w) * 4);
      continue;
    }
    const uint32_t* b = scaled_row(logical, top + 1, fit.w);
    for (int x = 0; x < fit.w; ++x) out[x] = blend(a[x], b[x], f);
  }
}

// Test pictures: PNG files written into a temporary directory, and readers of
// surface pixels for the pixel tests.
#pragma once
#include <SDL.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <cstring>
#include <filesystem>

#include "app/video.h"
#include "core/png_write.h"

struct rgba {
  uint8_t r, g, b, a;
};

// Writes `dir`/`file` as a w x h PNG (4 channels, or 3 when `channels` is 3).
inline std::string write_picture(const std::string& dir, const std::string& file, int w, int h,
                          const std::function<rgba(int, int)>& colour, int channels = 4) {
  std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * channels);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      rgba c = colour(x, y);
      uint8_t* p = &pixels[(static_cast<size_t>(y) * w + x) * channels];
      p[0] = c.r;
      p[1] = c.g;
      p[2] = c.b;
      if (channels == 4) p[3] = c.a;
    }
  }
  std::string path = dir + "/" + file;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  write_png(path, pixels.data(), w, h, w * channels, channels);
  return path;
}

inline rgba pixel_at(SDL_Surface* s, int x, int y) {
  SDL_LockSurface(s);
  const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
  Uint32 v = 0;
  std::memcpy(&v, p, s->format->BytesPerPixel);
  SDL_UnlockSurface(s);
  rgba c{0, 0, 0, 0};
  SDL_GetRGBA(v, s->format, &c.r, &c.g, &c.b, &c.a);
  return c;
}

inline std::vector<uint8_t> surface_bytes(SDL_Surface* s) {
  std::vector<uint8_t> out;
  SDL_LockSurface(s);
  const size_t row = static_cast<size_t>(s->w) * s->format->BytesPerPixel;
  for (int y = 0; y < s->h; ++y) {
    const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
    out.insert(out.end(), p, p + row);
  }
  SDL_UnlockSurface(s);
  return out;
}

inline SDL_Surface* patterned_target(int w, int h) {
  SDL_Surface* rgb = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xFF0000, 0xFF00, 0xFF, 0);
  SDL_Surface* t = SDL_DisplayFormat(rgb);
  SDL_FreeSurface(rgb);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      Uint32 c = SDL_MapRGB(t->format, static_cast<Uint8>(x * 7), static_cast<Uint8>(y * 3), 90);
      std::memcpy(static_cast<Uint8*>(t->pixels) + y * t->pitch + x * 4, &c, 4);
    }
  }
  return t;
}

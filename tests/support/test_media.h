// Small picture and sound files for the animation and stage tests, and screen
// read-back in both drawing modes.
#pragma once
#include <GL/gl.h>
#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/video.h"
#include "core/png_write.h"

struct rgb {
  int r, g, b;
  bool operator==(const rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

inline std::ostream& operator<<(std::ostream& os, const rgb& c) {
  return os << "(" << c.r << "," << c.g << "," << c.b << ")";
}

// Writes a 32-bit PNG at dir/relative whose pixels come from `colour(x, y)`;
// returns the full host path (usable as a data name).
inline std::string write_picture(const std::string& dir, const std::string& relative, int w, int h,
                                 const std::function<rgb(int, int)>& colour) {
  std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      rgb c = colour(x, y);
      uint8_t* p = &pixels[(static_cast<size_t>(y) * w + x) * 4];
      p[0] = static_cast<uint8_t>(c.r);
      p[1] = static_cast<uint8_t>(c.g);
      p[2] = static_cast<uint8_t>(c.b);
      p[3] = 255;
    }
  }
  std::string path = dir + "/" + relative;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  write_png(path, pixels.data(), w, h, w * 4, 4);
  return path;
}

inline std::string write_solid_picture(const std::string& dir, const std::string& relative, int w,
                                       int h, rgb c) {
  return write_picture(dir, relative, w, h, [c](int, int) { return c; });
}

// A mono 16-bit WAV of `samples` samples at 22050 Hz (a quiet square wave).
inline std::string write_wav(const std::string& dir, const std::string& relative, int samples) {
  std::string path = dir + "/" + relative;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return path;
  auto u32 = [f](uint32_t v) { std::fwrite(&v, 4, 1, f); };
  auto u16 = [f](uint16_t v) { std::fwrite(&v, 2, 1, f); };
  uint32_t data_bytes = static_cast<uint32_t>(samples) * 2;
  std::fwrite("RIFF", 1, 4, f);
  u32(36 + data_bytes);
  std::fwrite("WAVEfmt ", 1, 8, f);
  u32(16);
  u16(1);
  u16(1);
  u32(22050);
  u32(44100);
  u16(2);
  u16(16);
  std::fwrite("data", 1, 4, f);
  u32(data_bytes);
  for (int i = 0; i < samples; ++i) u16(static_cast<uint16_t>((i / 50) % 2 ? 2000 : -2000));
  std::fclose(f);
  return path;
}

// The colour on screen at (x, y): the screen surface in software mode, the
// back buffer in OpenGL mode (read before the swap).
inline rgb screen_pixel(int x, int y) {
  SDL_Surface* s = g_video.screen;
  if (g_video.opengl()) {
    unsigned char p[4] = {0, 0, 0, 0};
    glReadBuffer(GL_BACK);
    glReadPixels(x, s->h - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
  }
  SDL_LockSurface(s);
  const uint8_t* row = static_cast<const uint8_t*>(s->pixels) + y * s->pitch;
  Uint32 value = 0;
  switch (s->format->BytesPerPixel) {
    case 4: value = *reinterpret_cast<const Uint32*>(row + x * 4); break;
    case 2: value = *reinterpret_cast<const Uint16*>(row + x * 2); break;
    default: value = row[x * s->format->BytesPerPixel]; break;
  }
  SDL_UnlockSurface(s);
  Uint8 r, g, b;
  SDL_GetRGB(value, s->format, &r, &g, &b);
  return {r, g, b};
}

// Clears the frame to black in either mode.
inline void clear_frame() {
  if (g_video.opengl()) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  } else {
    SDL_FillRect(g_video.screen, nullptr, 0);
  }
}

// Number of occurrences of `needle` in `text`.
inline int count_of(const std::string& text, const std::string& needle) {
  int n = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}

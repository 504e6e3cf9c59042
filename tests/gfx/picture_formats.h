// Test pictures in the formats a data author may hand the game: PNGs of
// palette, grey and 1-bit grey pixels, 8-bit BMPs. Each shows a key-green
// border around a darker body, so the key colour and the body can be checked.
#pragma once
#include <SDL.h>
#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

// kind: "palette" (8-bit, green entry 0 marked transparent by tRNS), "grey"
// (8-bit grey), "grey1" (1-bit grey: black and white only, no green).
inline bool write_low_depth_png(const std::string& path, const std::string& kind, int w, int h) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  const bool palette = kind == "palette";
  const int depth = kind == "grey1" ? 1 : 8;
  png_set_IHDR(png, info, w, h, depth, palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color colours[2] = {{0, 255, 0}, {200, 30, 30}};
  png_byte transparent[1] = {0};
  if (palette) {
    png_set_PLTE(png, info, colours, 2);
    png_set_tRNS(png, info, transparent, 1, nullptr);
  }
  png_write_info(png, info);
  std::vector<png_byte> row(static_cast<size_t>(w));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool border = x < 2 || y < 2;
      row[x] = palette ? (border ? 0 : 1) : static_cast<png_byte>(border ? 255 : 40);
    }
    if (depth == 1) {
      std::vector<png_byte> bits(static_cast<size_t>((w + 7) / 8), 0);
      for (int x = 0; x < w; ++x) {
        if (row[x] > 127) bits[x / 8] |= static_cast<png_byte>(0x80 >> (x % 8));
      }
      png_write_row(png, bits.data());
    } else {
      png_write_row(png, row.data());
    }
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
}

// An 8-bit palette BMP with the same green border and red body.
inline bool write_palette_bmp(const std::string& path, int w, int h) {
  SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 8, 0, 0, 0, 0);
  if (!s) return false;
  SDL_Color colours[2] = {{0, 255, 0, 0}, {200, 30, 30, 0}};
  SDL_SetColors(s, colours, 0, 2);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) static_cast<Uint8*>(s->pixels)[y * s->pitch + x] = (x < 2 || y < 2) ? 0 : 1;
  }
  const bool ok = SDL_SaveBMP(s, path.c_str()) == 0;
  SDL_FreeSurface(s);
  return ok;
}

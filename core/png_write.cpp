#include "core/png_write.h"

#include <png.h>

#include <cstdio>

namespace {

void append_bytes(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void no_flush(png_structp) {}

}  // namespace

bool encode_png(const uint8_t* pixels, int width, int height, int stride, int channels, std::string& bytes) {
  bytes.clear();
  if (!pixels || width <= 0 || height <= 0 || (channels != 3 && channels != 4)) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    bytes.clear();
    return false;
  }
  png_set_write_fn(png, &bytes, append_bytes, no_flush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    png_write_row(png, const_cast<png_bytep>(pixels + static_cast<size_t>(y) * stride));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool write_png(const std::string& host_path, const uint8_t* pixels, int width, int height,
               int stride, int channels) {
  std::string bytes;
  if (!encode_png(pixels, width, height, stride, channels, bytes)) return false;
  FILE* f = std::fopen(host_path.c_str(), "wb");
  if (!f) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && written;
}

// Small pictures and text files for the fighter tests, in a fresh temp dir.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/png_write.h"
#include "support/test_env.h"

// A w x h RGBA picture of one colour; returns its path (usable as a data name).
inline std::string write_picture(const std::string& dir, const std::string& name, int w, int h, uint8_t r,
                                 uint8_t g, uint8_t b) {
  std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 4);
  for (size_t i = 0; i < pixels.size(); i += 4) {
    pixels[i] = r;
    pixels[i + 1] = g;
    pixels[i + 2] = b;
    pixels[i + 3] = 255;
  }
  std::string path = dir + "/" + name;
  write_png(path, pixels.data(), w, h, w * 4, 4);
  return path;
}

inline std::string write_data(const std::string& dir, const std::string& name, const std::string& text) {
  write_text_file(dir, name, text);
  return dir + "/" + name;
}

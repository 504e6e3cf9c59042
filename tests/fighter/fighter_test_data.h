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
  return write_solid_picture(dir, name, w, h, r, g, b);
}

inline std::string write_data(const std::string& dir, const std::string& name, const std::string& text) {
  write_text_file(dir, name, text);
  return dir + "/" + name;
}

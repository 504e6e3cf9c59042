// An RGB picture in memory with the few raster operations the painters need.
#pragma once
#include <string>
#include <vector>

#include "colour.h"

class Canvas {
 public:
  Canvas(int w, int h, RGB fill = kKey);
  int width() const { return w_; }
  int height() const { return h_; }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
  RGB get(int x, int y) const;
  void set(int x, int y, RGB c);
  void fill(RGB c);
  void rect(int x, int y, int w, int h, RGB c);
  // Vertical gradient from `top` to `bottom` over rows y0..y1-1, in flat bands
  // of `band` rows so it stays crisp.
  void vgradient(int y0, int y1, RGB top, RGB bottom, int band = 1);
  // Copies `src` to (x, y), skipping its key-coloured pixels.
  void blit_keyed(const Canvas& src, int x, int y);
  // Mirror copy (left-right).
  Canvas mirrored() const;
  // Nearest-neighbour scaled copy.
  Canvas scaled(int w, int h) const;
  // Writes a 32-bit opaque PNG: 4-byte pixels keep every row contiguous, which
  // the game's recolouring relies on.
  bool save_png(const std::string& host_path) const;
  const std::vector<RGB>& pixels() const { return px_; }

 private:
  int w_, h_;
  std::vector<RGB> px_;
};

#include "canvas.h"

#include <algorithm>

#include "core/png_write.h"

Canvas::Canvas(int w, int h, RGB fill) : w_(w), h_(h), px_(static_cast<size_t>(w) * h, fill) {}

RGB Canvas::get(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }

void Canvas::set(int x, int y, RGB c) {
  if (inside(x, y)) px_[static_cast<size_t>(y) * w_ + x] = c;
}

void Canvas::fill(RGB c) { std::fill(px_.begin(), px_.end(), c); }

void Canvas::rect(int x, int y, int w, int h, RGB c) {
  int x0 = std::max(0, x), y0 = std::max(0, y);
  int x1 = std::min(w_, x + w), y1 = std::min(h_, y + h);
  for (int yy = y0; yy < y1; ++yy)
    for (int xx = x0; xx < x1; ++xx) px_[static_cast<size_t>(yy) * w_ + xx] = c;
}

void Canvas::vgradient(int y0, int y1, RGB top, RGB bottom, int band) {
  if (y1 <= y0) return;
  band = std::max(1, band);
  for (int y = y0; y < y1; ++y) {
    int banded = y0 + ((y - y0) / band) * band;
    float t = static_cast<float>(banded - y0) / std::max(1, y1 - y0 - 1);
    rect(0, y, w_, 1, away_from_key(mix(top, bottom, t)));
  }
}

void Canvas::blit_keyed(const Canvas& src, int x, int y) {
  for (int sy = 0; sy < src.h_; ++sy)
    for (int sx = 0; sx < src.w_; ++sx) {
      RGB c = src.get(sx, sy);
      if (c != kKey) set(x + sx, y + sy, c);
    }
}

Canvas Canvas::mirrored() const {
  Canvas out(w_, h_);
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) out.px_[static_cast<size_t>(y) * w_ + x] = get(w_ - 1 - x, y);
  return out;
}

Canvas Canvas::scaled(int w, int h) const {
  Canvas out(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) out.set(x, y, get(x * w_ / w, y * h_ / h));
  return out;
}

bool Canvas::save_png(const std::string& host_path) const {
  std::vector<uint8_t> rgba(px_.size() * 4);
  for (size_t i = 0; i < px_.size(); ++i) {
    rgba[i * 4 + 0] = px_[i].r;
    rgba[i * 4 + 1] = px_[i].g;
    rgba[i * 4 + 2] = px_[i].b;
    rgba[i * 4 + 3] = 255;
  }
  return write_png(host_path, rgba.data(), w_, h_, w_ * 4, 4);
}

// A small fixed-seed generator so every run draws the same "random" details.
#pragma once
#include <cstdint>

class Rng {
 public:
  explicit Rng(uint32_t seed) : s_(seed ? seed : 0x9e3779b9u) {}
  uint32_t next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 17;
    s_ ^= s_ << 5;
    return s_;
  }
  // Uniform in [0, 1).
  float unit() { return (next() >> 8) * (1.0f / 16777216.0f); }
  float range(float a, float b) { return a + (b - a) * unit(); }
  int below(int n) { return static_cast<int>(next() % static_cast<uint32_t>(n)); }

 private:
  uint32_t s_;
};

#include "sound.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "rng.h"

namespace {
constexpr double kTau = 6.283185307179586;

std::vector<int16_t> to_pcm(const std::vector<double>& x, double gain) {
  double peak = 1e-9;
  for (double v : x) peak = std::max(peak, std::fabs(v));
  std::vector<int16_t> out(x.size());
  for (size_t i = 0; i < x.size(); ++i) {
    double v = x[i] / peak * gain;
    // Short fade at both ends so nothing clicks.
    double edge = std::min(1.0, std::min(i, x.size() - 1 - i) / 64.0);
    out[i] = static_cast<int16_t>(std::lround(std::clamp(v * edge, -1.0, 1.0) * 32000.0));
  }
  return out;
}

std::vector<double> buffer(double seconds) { return std::vector<double>(static_cast<size_t>(seconds * kSampleRate)); }

// One-pole low-pass with a cutoff that may change per sample.
struct LowPass {
  double y = 0;
  double step(double x, double cutoff_hz) {
    double a = 1.0 - std::exp(-kTau * cutoff_hz / kSampleRate);
    y += a * (x - y);
    return y;
  }
};
}  // namespace

std::vector<int16_t> synth_punch() {
  auto x = buffer(0.18);
  Rng rng(11);
  LowPass lp;
  double phase = 0;
  for (size_t i = 0; i < x.size(); ++i) {
    double t = static_cast<double>(i) / kSampleRate;
    double f = 50 + 110 * std::exp(-t * 30);
    phase += kTau * f / kSampleRate;
    double body = std::sin(phase) * std::exp(-t * 22);
    double crack = lp.step(rng.range(-1, 1), 1800) * std::exp(-t * 70) * 2.5;
    x[i] = body + crack;
  }
  return to_pcm(x, 0.9);
}

std::vector<int16_t> synth_kick() {
  auto x = buffer(0.26);
  Rng rng(23);
  LowPass lp;
  double phase = 0;
  for (size_t i = 0; i < x.size(); ++i) {
    double t = static_cast<double>(i) / kSampleRate;
    double swell = std::sin(std::min(1.0, t / 0.16) * 3.14159) * 0.8;
    double whoosh = lp.step(rng.range(-1, 1), 600 + 2400 * t / 0.26) * swell * 2.0;
    double thump = 0;
    if (t > 0.14) {
      double u = t - 0.14;
      phase += kTau * (45 + 90 * std::exp(-u * 35)) / kSampleRate;
      thump = std::sin(phase) * std::exp(-u * 25);
    }
    x[i] = whoosh + thump;
  }
  return to_pcm(x, 0.9);
}

std::vector<int16_t> synth_hit() {
  auto x = buffer(0.2);
  Rng rng(37);
  LowPass lp;
  for (size_t i = 0; i < x.size(); ++i) {
    double t = static_cast<double>(i) / kSampleRate;
    double n = rng.range(-1, 1);
    double bright = (n - lp.step(n, 900)) * std::exp(-t * 45);
    double tone = std::sin(kTau * 310 * t) * std::exp(-t * 30) * 0.6;
    double low = std::sin(kTau * 90 * t) * std::exp(-t * 18) * 0.7;
    x[i] = bright * 1.6 + tone + low;
  }
  return to_pcm(x, 0.95);
}

std::vector<int16_t> synth_special() {
  auto x = buffer(0.55);
  Rng rng(41);
  LowPass lp;
  double phase = 0;
  for (size_t i = 0; i < x.size(); ++i) {
    double t = static_cast<double>(i) / kSampleRate;
    double f = 180 + 1100 * std::exp(-t * 6) + 40 * std::sin(kTau * 28 * t);
    phase += f / kSampleRate;
    double saw = 2.0 * (phase - std::floor(phase)) - 1.0;
    double square = std::sin(kTau * phase * 0.5) > 0 ? 0.5 : -0.5;
    double hiss = lp.step(rng.range(-1, 1), 4000) * 0.35;
    double env = std::min(1.0, t / 0.01) * std::exp(-t * 4.5);
    x[i] = (saw * 0.6 + square * 0.5 + hiss) * env;
  }
  return to_pcm(x, 0.8);
}

std::vector<int16_t> synth_dash() {
  auto x = buffer(0.3);
  Rng rng(53);
  LowPass lp1, lp2;
  for (size_t i = 0; i < x.size(); ++i) {
    double t = static_cast<double>(i) / kSampleRate;
    double cutoff = 300 + 5000 * std::sin(std::min(1.0, t / 0.3) * 3.14159);
    double n = rng.range(-1, 1);
    double band = lp1.step(n, cutoff) - lp2.step(n, cutoff * 0.3);
    double env = std::sin(std::min(1.0, t / 0.3) * 3.14159);
    x[i] = band * env;
  }
  return to_pcm(x, 0.7);
}

std::vector<int16_t> synth_named(const std::string& stem) {
  if (stem == "punch") return synth_punch();
  if (stem == "kick") return synth_kick();
  if (stem == "hit") return synth_hit();
  if (stem == "special") return synth_special();
  if (stem == "dash") return synth_dash();
  throw std::runtime_error("no sound named " + stem);
}

std::vector<uint8_t> wav_bytes(const std::vector<int16_t>& samples, int rate) {
  std::vector<uint8_t> b;
  auto u32 = [&b](uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto u16 = [&b](uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
  };
  auto tag = [&b](const char* s) { b.insert(b.end(), s, s + 4); };
  uint32_t data = static_cast<uint32_t>(samples.size() * 2);
  tag("RIFF");
  u32(36 + data);
  tag("WAVE");
  tag("fmt ");
  u32(16);
  u16(1);  // PCM
  u16(1);  // mono
  u32(static_cast<uint32_t>(rate));
  u32(static_cast<uint32_t>(rate * 2));
  u16(2);
  u16(16);
  tag("data");
  u32(data);
  for (int16_t s : samples) u16(static_cast<uint16_t>(s));
  return b;
}

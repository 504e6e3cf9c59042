#include "music.h"

#include <algorithm>
#include <cmath>

#include "rng.h"
#include "sound.h"

namespace {

constexpr double kTau = 6.283185307179586;

double note_hz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

enum class voice { soft_pad, pluck, bass, kick, snare, hat };

// A loop of `beats` beats at `bpm`, mixed into doubles; written whole at the end.
struct loop_mix {
  std::vector<double> x;
  double beat_seconds;

  loop_mix(int beats, double bpm) : beat_seconds(60.0 / bpm) {
    x.assign(static_cast<size_t>(std::lround(beats * beat_seconds * kSampleRate)), 0.0);
  }

  // One note (or drum hit) starting at `beat`, lasting `length` beats.
  void play(voice v, double beat, double length, int midi, double level, uint32_t seed = 1) {
    const size_t n = x.size();
    const size_t start = static_cast<size_t>(std::lround(beat * beat_seconds * kSampleRate));
    const double seconds = length * beat_seconds;
    const size_t count = static_cast<size_t>(seconds * kSampleRate) + kSampleRate / 5;  // with its release
    const double hz = note_hz(midi);
    Rng rng(seed);
    double phase = 0, low = 0;
    for (size_t i = 0; i < count; ++i) {
      const double t = static_cast<double>(i) / kSampleRate;
      double s = 0;
      switch (v) {
        case voice::soft_pad: {  // two detuned sines, slow swell
          const double env = std::min(1.0, t / 0.25) * (t < seconds ? 1.0 : std::exp(-(t - seconds) * 12));
          s = env * (std::sin(kTau * hz * t) + 0.6 * std::sin(kTau * hz * 1.004 * t) + 0.25 * std::sin(kTau * hz * 2 * t));
          break;
        }
        case voice::pluck: {  // bright then dull
          const double env = std::exp(-t * 7) * std::min(1.0, t / 0.004);
          s = env * (std::sin(kTau * hz * t) + 0.5 * std::exp(-t * 12) * std::sin(kTau * hz * 3 * t));
          break;
        }
        case voice::bass: {
          const double env = std::min(1.0, t / 0.01) * (t < seconds ? 1.0 - 0.3 * t / seconds : 0.7 * std::exp(-(t - seconds) * 30));
          const double tri = 2.0 / 3.14159265 * std::asin(std::sin(kTau * hz * t));
          s = env * tri;
          break;
        }
        case voice::kick: {
          phase += kTau * (45 + 90 * std::exp(-t * 35)) / kSampleRate;
          s = std::sin(phase) * std::exp(-t * 14);
          break;
        }
        case voice::snare: {
          const double noise = rng.range(-1, 1);
          low += 0.35 * (noise - low);
          s = (0.8 * low + 0.4 * std::sin(kTau * 190 * t)) * std::exp(-t * 22);
          break;
        }
        case voice::hat: {
          const double noise = rng.range(-1, 1);
          s = (noise - low) * std::exp(-t * 60);
          low = noise;
          break;
        }
      }
      x[(start + i) % n] += s * level;  // the tail wraps onto the loop's start
    }
  }

  std::vector<int16_t> pcm(double gain) const {
    double peak = 1e-9;
    for (double v : x) peak = std::max(peak, std::fabs(v));
    std::vector<int16_t> out(x.size());
    for (size_t i = 0; i < x.size(); ++i) {
      out[i] = static_cast<int16_t>(std::lround(std::clamp(x[i] / peak * gain, -1.0, 1.0) * 32000.0));
    }
    return out;
  }
};

}  // namespace

// 8 beats at 96 bpm (5 s): a pad on two chords, a slow arpeggio over it.
std::vector<int16_t> compose_menu_loop() {
  loop_mix m(8, 96);
  const int chords[2][3] = {{57, 60, 64}, {53, 57, 60}};  // A minor, F major
  for (int c = 0; c < 2; ++c) {
    for (int note : chords[c]) m.play(voice::soft_pad, c * 4, 3.8, note, 0.22);
    m.play(voice::bass, c * 4, 3.5, chords[c][0] - 12, 0.35);
    const int arp[] = {0, 1, 2, 1};
    for (int step = 0; step < 8; ++step) {
      const int note = chords[c][arp[step % 4]] + 12 + (step == 6 ? 12 : 0);
      m.play(voice::pluck, c * 4 + step * 0.5, 0.5, note, 0.3);
    }
  }
  return m.pcm(0.7);
}

// 8 beats at 132 bpm (about 3.6 s): drums, a pumping bass and a short riff.
std::vector<int16_t> compose_stage_loop() {
  loop_mix m(8, 132);
  for (int beat = 0; beat < 8; ++beat) {
    m.play(voice::kick, beat, 0.5, 0, beat % 2 == 0 ? 0.9 : 0.6);
    if (beat % 2 == 1) m.play(voice::snare, beat, 0.5, 0, 0.55, 100 + beat);
    m.play(voice::hat, beat + 0.5, 0.25, 0, 0.25, 200 + beat);
  }
  const int bass[8] = {40, 40, 43, 40, 38, 38, 45, 43};  // E, G, D, A, G
  for (int beat = 0; beat < 8; ++beat) {
    m.play(voice::bass, beat, 0.45, bass[beat], 0.5);
    m.play(voice::bass, beat + 0.5, 0.4, bass[beat] + 12, 0.3);
  }
  const double riff_beats[] = {0, 0.75, 1.5, 2.5, 4, 4.75, 5.5, 6.5};
  const int riff_notes[] = {64, 67, 69, 67, 62, 64, 67, 71};
  for (int i = 0; i < 8; ++i) m.play(voice::pluck, riff_beats[i], 0.5, riff_notes[i], 0.3);
  return m.pcm(0.75);
}

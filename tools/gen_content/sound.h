// Synthesised sound effects and the RIFF/WAVE writer (16-bit mono PCM).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

constexpr int kSampleRate = 22050;

std::vector<int16_t> synth_punch();
std::vector<int16_t> synth_kick();
std::vector<int16_t> synth_hit();
std::vector<int16_t> synth_special();
std::vector<int16_t> synth_dash();
// The effect of that stem ("punch", "kick", "hit", "special", "dash").
std::vector<int16_t> synth_named(const std::string& stem);

std::vector<uint8_t> wav_bytes(const std::vector<int16_t>& samples, int rate = kSampleRate);

// Reads what a sound file's header declares before the mixer sees it. The
// mixer allocates what a header claims and converts every sample to its own
// rate: a few bytes claiming 16 MB of samples, or a rate of 1 Hz, would cost
// seconds and gigabytes.
#pragma once
#include <cstddef>

struct SDL_RWops;

// At most this much converted sample data for one sound (about six minutes
// of 16-bit stereo at 44100 Hz).
constexpr long long max_converted_sound_bytes = 64LL << 20;

// Slower than any real recording: converting stretches each sample by the
// ratio of the rates.
constexpr long long min_sound_rate = 1000;

// Why the sound in `bytes` must not reach the mixer, or nullptr. `out_rate`
// and `out_frame_bytes` describe what the mixer converts to. Only WAV (with
// its RIFF header) and Ogg pass.
const char* sound_refusal(const unsigned char* bytes, size_t n, long long out_rate, long long out_frame_bytes);

// The same for the stream `rw`, which is left at its start. Uses the open
// mixer's format, or 22050 Hz 16-bit stereo.
const char* sound_file_refusal(SDL_RWops* rw);

// Guards for numbers read from data files: every count and value that sizes a
// loop, an allocation or later arithmetic goes through here, so a broken or
// hostile file gives one line naming the file and the key, never a crash.
#pragma once
#include "core/safe_trunc.h"

class config_file;

// Frame values whose arithmetic must stay far from int overflow.
constexpr int max_frame_rate = 100000;   // ticks (about half an hour at 60 fps)
constexpr int max_frame_shake = 1000;    // pixels
constexpr int max_frame_flash = 100000;  // flash strength and fade

// A count key (frames, pictures, parts, layers): absent -> 0; negative ->
// "ERROR:" and 0; above `limit` -> "WARNING:" and `limit`.
int count_key(const config_file& config, const char* file, const char* key, int limit);

// A value key: absent -> `fallback`; outside lo..hi -> "WARNING:" and clamped.
int bounded_key(const config_file& config, const char* file, const char* key, int fallback,
                int lo, int hi);


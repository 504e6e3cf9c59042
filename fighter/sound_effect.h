// One WAV sample played through SDL_mixer. The cache loads each file once and
// hands out copies that share the loaded sample; the sample is never freed.
#pragma once
#include <cstdint>

struct Mix_Chunk;

class sound_effect {
 public:
  int32_t ref_count = 0;       // bookkeeping for counted_ptr only; zero means nothing
  Mix_Chunk* chunk = nullptr;  // shared with every copy; null when loading failed

  void add_ref() { ++ref_count; }
  void release() { --ref_count; }

  // Prints "loading sfx [path]"; null (and a "Mix_LoadWAV:" line) on failure.
  Mix_Chunk* load_sound(const char* path);
  // channel -1 = first free channel; loops = extra repetitions. Silent without a chunk.
  void play(int channel, int loops);
};

// Opens the mixer device (22050 Hz, 16-bit stereo, 16 channels). On failure
// prints one WARNING line and returns 0; the game then runs silently.
int open_sound_mixer();

// One WAV sample played through SDL_mixer. The cache loads each file once and
// hands out copies that share the loaded sample; the sample is never freed.
#pragma once
#include <cstdint>
#include <memory>

#include "anim/frame_effects.h"
#include "core/nmanager.h"

struct Mix_Chunk;

// Animation frames hold their sounds as frame_sound (anim/frame_effects.h),
// which this file's start-up hook hands them from sound_cache.
class sound_effect : public frame_sound {
 public:
  int32_t ref_count = 0;       // bookkeeping for counted_ptr only; zero means nothing
  Mix_Chunk* chunk = nullptr;  // shared with every copy; null when loading failed

  void add_ref() { ++ref_count; }
  void release() { --ref_count; }

  // Prints "loading sfx [path]"; null (and a "Mix_LoadWAV:" line) on failure.
  Mix_Chunk* load_sound(const char* path);
  // channel -1 = first free channel; loops = extra repetitions. Silent without a chunk.
  void play(int channel, int loops);

  void play_on(int channel) override { play(channel, 0); }
  using frame_sound::play;
  std::unique_ptr<frame_sound> copy() const override;  // shares the sample
  const void* sample() const override { return chunk; }
};

void cache_load(sound_effect* item, const char* name);
std::unique_ptr<sound_effect> cache_copy(const sound_effect& item);  // null when out of memory

// Hands animation frames their sounds from sound_cache. Done before main
// too; calling it also links this file into a program.
void hook_frame_sounds();

// Built before main (core/startup_order.h); lives until the program ends.
extern nmanager<sound_effect> sound_cache;

// Opens the mixer device (22050 Hz, 16-bit stereo, 16 channels). On failure
// prints one WARNING line and returns 0; the game then runs silently.
int open_sound_mixer();

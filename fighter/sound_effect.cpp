#include "fighter/sound_effect.h"

#include <cstdlib>
#include <new>

#include <SDL.h>
#include <SDL_mixer.h>

#include "core/data_path.h"
#include "core/log.h"
#include "core/startup_order.h"
#include "fighter/sound_header.h"

nmanager<sound_effect> sound_cache STARTUP_ORDER(STARTUP_SOUND_CACHE);

void cache_load(sound_effect* item, const char* name) {
  if (item) item->load_sound(name);
}

std::unique_ptr<sound_effect> cache_copy(const sound_effect& item) {
  std::unique_ptr<sound_effect> copy(new (std::nothrow) sound_effect);
  if (!copy) return nullptr;
  // Shares the sample: samples are never freed while the game runs.
  copy->ref_count = item.ref_count;
  copy->chunk = item.chunk;
  return copy;
}

std::unique_ptr<frame_sound> sound_effect::copy() const {
  std::unique_ptr<sound_effect> copy(new (std::nothrow) sound_effect);
  if (copy) copy->chunk = chunk;  // the sample is shared, never duplicated
  return copy;
}

Mix_Chunk* sound_effect::load_sound(const char* path) {
  if (!path) path = "";
  log_out("loading sfx [%s]\n", path);
  SDL_RWops* rw = open_data_rw(path, "rb", data_kind::sound);
  const char* refusal = sound_file_refusal(rw);
  if (refusal) {
    SDL_RWclose(rw);
    rw = nullptr;
    SDL_SetError("%s", refusal);
  }
  // The stream is closed here, not by the mixer: its AIFF reader leaves it open
  // when a file is broken.
  chunk = rw ? Mix_LoadWAV_RW(rw, 0) : nullptr;
  if (rw) SDL_RWclose(rw);
  if (!chunk) log_out("Mix_LoadWAV: %s\n", SDL_GetError());
  return chunk;
}

void sound_effect::play(int channel, int loops) {
  if (!chunk) return;
  // No free channel simply means no sound.
  Mix_PlayChannelTimed(channel, chunk, loops, -1);
}

namespace {
std::unique_ptr<frame_sound> fetch_frame_sound(const char* name);
}  // namespace

void hook_frame_sounds() { g_frame_effects.fetch_sound = fetch_frame_sound; }

namespace {

// An animation frame's sound: its own object, whether the cache lent its
// stored one (copied, as the frame frees what it holds) or gave a copy.
std::unique_ptr<frame_sound> fetch_frame_sound(const char* name) {
  fetched<sound_effect> got = sound_cache.fetch(name);
  if (got.is_lent()) return got->copy();
  return got.take_copy();
}

[[maybe_unused]] const bool frame_sounds_hooked = (hook_frame_sounds(), true);

void close_sound_mixer() {
  while (Mix_QuerySpec(nullptr, nullptr, nullptr) > 0) Mix_CloseAudio();
}

}  // namespace

int open_sound_mixer() {
  if (Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024) == -1) {
    log_out("WARNING: can't open the sound mixer, playing without sound: %s\n", Mix_GetError());
    return 0;
  }
  Mix_AllocateChannels(16);
  // The mixer plays from its own thread: close it at exit before the cached
  // sounds are destroyed, whoever opened it (the game or a test).
  static bool close_registered = false;
  if (!close_registered) {
    close_registered = true;
    std::atexit(close_sound_mixer);
  }
  return 1;
}

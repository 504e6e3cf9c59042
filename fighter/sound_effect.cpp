#include "fighter/sound_effect.h"

#include <cstdlib>

#include <SDL.h>
#include <SDL_mixer.h>

#include "core/data_path.h"
#include "core/log.h"

Mix_Chunk* sound_effect::load_sound(const char* path) {
  if (!path) path = "";
  log_out("loading sfx [%s]\n", path);
  SDL_RWops* rw = open_data_rw(path, "rb", data_kind::sound);
  // Mix_LoadWAV_RW frees the stream itself (second argument 1), also on failure.
  chunk = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
  if (!chunk) log_out("Mix_LoadWAV: %s\n", SDL_GetError());
  return chunk;
}

void sound_effect::play(int channel, int loops) {
  if (!chunk) return;
  // No free channel simply means no sound.
  Mix_PlayChannelTimed(channel, chunk, loops, -1);
}

namespace {

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

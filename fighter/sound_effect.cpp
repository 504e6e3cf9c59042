#include "fighter/sound_effect.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "core/data_path.h"
#include "core/log.h"

Mix_Chunk* sound_effect::load_sound(const char* path) {
  if (!path) path = "";
  log_out("loading sfx [%s]\n", path);
  SDL_RWops* rw = open_data_rw(path, "rb");
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

int open_sound_mixer() {
  if (Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024) == -1) {
    log_out("WARNING: can't open the sound mixer, playing without sound: %s\n", Mix_GetError());
    return 0;
  }
  Mix_AllocateChannels(16);
  return 1;
}

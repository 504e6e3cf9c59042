#include "app/sound_volumes.h"

#include <SDL_mixer.h>

namespace {

int music_level = MIX_MAX_VOLUME;

int mixer_level(int volume, bool mute) {
  if (mute || volume <= 0) return 0;
  return (volume >= 10 ? 10 : volume) * MIX_MAX_VOLUME / 10;
}

}  // namespace

void set_sound_volumes(int effects, int music, bool mute) {
  Mix_Volume(-1, mixer_level(effects, mute));
  music_level = mixer_level(music, mute);
  Mix_VolumeMusic(music_level);
}

int music_mixer_volume() { return music_level; }

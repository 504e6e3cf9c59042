#include "app/online/mixer_sound_sink.h"

#include <SDL_mixer.h>

#include <climits>

#include "anim/frame_effects.h"

int mixer_sound_sink::start_effect(uint32_t) {
  if (!next || !next->sound || !next->sound->sample()) return -1;
  // The sample of a sound from the sound cache is the mixer's chunk.
  Mix_Chunk* chunk = static_cast<Mix_Chunk*>(const_cast<void*>(next->sound->sample()));
  const int channel = Mix_PlayChannelTimed(next->channel, chunk, 0, -1);
  if (channel < 0) return -1;
  last_handle_ = last_handle_ == INT_MAX ? 0 : last_handle_ + 1;
  auto before = last_on_.find(channel);
  if (before != last_on_.end()) channel_of_.erase(before->second);  // that one is over or cut off
  last_on_[channel] = last_handle_;
  channel_of_[last_handle_] = channel;
  return last_handle_;
}

void mixer_sound_sink::stop_effect(uint32_t, int handle) {
  auto it = channel_of_.find(handle);
  if (it == channel_of_.end()) return;  // its channel has gone to another sound
  const int channel = it->second;
  if (Mix_Playing(channel)) Mix_HaltChannel(channel);
  channel_of_.erase(it);
  last_on_.erase(channel);
}

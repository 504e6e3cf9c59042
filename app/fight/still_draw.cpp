#include "app/fight/still_draw.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "fighter/lifeform.h"
#include "stage/level.h"

void draw_level_still(level& stage) {
  const int shake = stage.shake, flash = stage.flash, flash_rate = stage.flash_rate;
  stage.draw();
  stage.shake = shake;
  stage.flash = flash;
  stage.flash_rate = flash_rate;
}

void draw_lifeform_still(lifeform& l) {
  struct play_mark {
    unsigned index;
    int countdown;
    int active;
  };
  std::vector<play_mark> marks;
  if (l.anim_stack) {
    for (anim_play* p : l.anim_stack->plays) {
      if (!p) continue;
      marks.push_back({p->index, p->countdown, p->active});
      // One tick more than the draw takes: the frame can't end, fire or advance.
      p->countdown = std::max(p->countdown, 1) + 1;
    }
  }
  const int32_t age = l.age, state = l.state, action = l.action, w = l.width, h = l.height;
  int32_t cooldowns[max_weapons][max_streams];
  std::memcpy(cooldowns, l.stream_cooldowns, sizeof cooldowns);
  std::vector<int32_t> reloads;
  for (const weapon& wp : l.weapons) {
    for (const stream& s : wp.streams) reloads.push_back(s.reload_counter);
  }
  int shake = 0, flash = 0, flash_rate = 0;
  if (g_level) {
    shake = g_level->shake;
    flash = g_level->flash;
    flash_rate = g_level->flash_rate;
  }

  l.draw();

  if (l.anim_stack) {
    size_t i = 0;
    for (anim_play* p : l.anim_stack->plays) {
      if (!p || i >= marks.size()) continue;
      p->index = marks[i].index;
      p->countdown = marks[i].countdown;
      p->active = marks[i].active;
      ++i;
    }
  }
  l.age = age;
  l.state = state;
  l.action = action;
  l.width = w;
  l.height = h;
  std::memcpy(l.stream_cooldowns, cooldowns, sizeof cooldowns);
  size_t r = 0;
  for (weapon& wp : l.weapons) {
    for (stream& s : wp.streams) {
      if (r < reloads.size()) s.reload_counter = reloads[r++];
    }
  }
  if (g_level) {
    g_level->shake = shake;
    g_level->flash = flash;
    g_level->flash_rate = flash_rate;
  }
}

still_sound_guard::still_sound_guard() {
  int frequency = 0, channels = 0;
  Uint16 format = 0;
  open_ = Mix_QuerySpec(&frequency, &format, &channels) != 0;
  if (!open_) return;
  channels_ = std::min(Mix_AllocateChannels(-1), 64);
  volume_ = Mix_Volume(-1, -1);
  // Only the free channels go quiet: a sound from before keeps playing.
  for (int c = 0; c < channels_; ++c) {
    if (Mix_Playing(c)) {
      playing_ |= 1ULL << c;
    } else {
      Mix_Volume(c, 0);
    }
  }
}

still_sound_guard::~still_sound_guard() {
  if (!open_) return;
  for (int c = 0; c < channels_; ++c) {
    if (playing_ & (1ULL << c)) continue;
    if (Mix_Playing(c)) Mix_HaltChannel(c);
    Mix_Volume(c, volume_);
  }
}

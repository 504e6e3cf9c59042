#include "fight/step_events.h"

#include "anim/frame_effects.h"

void step_events::add(const sound_event& e) {
  if (sound_count < max_step_sounds) {
    sounds[sound_count++] = e;
  } else {
    ++unlisted;
  }
}

bool operator==(const sound_event& a, const sound_event& b) {
  return a.sound == b.sound && a.frame == b.frame && a.lifeform_id == b.lifeform_id && a.channel == b.channel;
}

bool operator==(const step_events& a, const step_events& b) {
  if (a.sound_count != b.sound_count || a.unlisted != b.unlisted) return false;
  for (int i = 0; i < a.sound_count; ++i) {
    if (!(a.sounds[i] == b.sounds[i])) return false;
  }
  return true;
}

void play_step_sounds(const step_events& events) {
  for (int i = 0; i < events.sound_count; ++i) {
    if (events.sounds[i].sound) events.sounds[i].sound->play_on(events.sounds[i].channel);
  }
}

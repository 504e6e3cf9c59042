// The sounds a fight frame starts, listed in the order they start. The step
// plays nothing itself: the program plays the list of a frame it shows for
// the first time (play_step_sounds), so a frame stepped again after a
// restore is not heard twice, and comparing a frame's lists from before and
// after a correction tells which sounds it added or took away.
#pragma once
#include <cstdint>

class frame_sound;

struct sound_event {
  // An animation frame's own sound or a weapon stream's: each belongs to
  // one frame or stream of the loaded content, so it names what sounded.
  frame_sound* sound;
  int64_t frame;        // the fight frame it started on
  int32_t lifeform_id;  // whose tick or shot started it
  int32_t channel;      // mixer channel, -1: the first free one
};

constexpr int max_step_sounds = 64;

struct step_events {
  int32_t sound_count = 0;
  // Sounds past max_step_sounds in one frame: counted, neither listed nor heard.
  int32_t unlisted = 0;
  sound_event sounds[max_step_sounds];

  void clear() { sound_count = unlisted = 0; }
  void add(const sound_event& e);
};

bool operator==(const sound_event& a, const sound_event& b);
// The same sounds listed in the same order.
bool operator==(const step_events& a, const step_events& b);
inline bool operator!=(const step_events& a, const step_events& b) { return !(a == b); }

// Starts each listed sound, in order.
void play_step_sounds(const step_events& events);

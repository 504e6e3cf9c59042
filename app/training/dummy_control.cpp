#include "app/training/dummy_control.h"

#include <cstdio>

namespace {

constexpr int behaviour_count = 7;

}  // namespace

const char* dummy_behaviour_name(dummy_behaviour b, int computer_level) {
  switch (b) {
    case dummy_behaviour::stand:
      return "Stand";
    case dummy_behaviour::crouch:
      return "Crouch";
    case dummy_behaviour::jump:
      return "Jump";
    case dummy_behaviour::block_all:
      return "Block everything";
    case dummy_behaviour::block_after_hit:
      return "Block after the first hit";
    case dummy_behaviour::computer: {
      static char text[32];
      std::snprintf(text, sizeof text, "Computer level %d", computer_level);
      return text;
    }
    case dummy_behaviour::playback:
      return "Playback";
  }
  return "Stand";
}

void dummy_control::cycle(int step) {
  step = step < 0 ? -1 : 1;
  if (behaviour == dummy_behaviour::computer) {
    const int level = computer_level + step;
    if (level >= 1 && level <= 5) {
      computer_level = level;
      return;
    }
  }
  int next = static_cast<int>(behaviour);
  do {
    next = (next + step + behaviour_count) % behaviour_count;
  } while (next == static_cast<int>(dummy_behaviour::playback) && recorded.empty());
  behaviour = static_cast<dummy_behaviour>(next);
  if (behaviour == dummy_behaviour::computer) computer_level = step > 0 ? 1 : 5;
  if (behaviour == dummy_behaviour::playback) playing_at = 0;
  struck = false;
}

void dummy_control::start_recording() {
  recorded.clear();
  recording = true;
}

bool dummy_control::start_playback() {
  if (recorded.empty()) return false;
  recording = false;
  behaviour = dummy_behaviour::playback;
  playing_at = 0;
  return true;
}

player_actions dummy_control::actions(int facing, player_actions player_one) {
  if (recording) {
    recorded.push_back(player_one);
    if (recorded.size() >= record_limit) recording = false;
    return player_one;
  }
  const player_actions away = facing == 1 ? action_left : action_right;
  switch (behaviour) {
    case dummy_behaviour::stand:
    case dummy_behaviour::computer:
      return 0;
    case dummy_behaviour::crouch:
      return action_down;
    case dummy_behaviour::jump:
      return action_up;
    case dummy_behaviour::block_all:
      return away;
    case dummy_behaviour::block_after_hit:
      return struck ? away : 0;
    case dummy_behaviour::playback: {
      if (recorded.empty()) return 0;
      if (playing_at >= recorded.size()) playing_at = 0;
      return recorded[playing_at++];
    }
  }
  return 0;
}

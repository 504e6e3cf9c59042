// A small deterministic two-player game for the rollback engine's tests: any
// difference in any entry's actions at any frame changes its hash, and a punch
// starts an effect, so a doubled or lost effect shows.
#pragma once
#include <cstdint>

#include "net/rollback.h"
#include "net/rollback_events.h"

struct toy_state {
  int32_t frame = 0;
  int32_t x[2] = {100, 200};
  uint64_t mix = 1469598103934665603ull;
};

class toy_game : public rollback_game {
 public:
  toy_state state;
  toy_state slots[rollback_slots];
  rollback_events* events = nullptr;
  long steps = 0;

  void save_state(int slot) override { slots[slot] = state; }
  void load_state(int slot) override { state = slots[slot]; }
  void step(const player_actions inputs[2]) override {
    ++steps;
    for (int e = 0; e < 2; ++e) {
      if (inputs[e] & action_right) state.x[e] += 3;
      if (inputs[e] & action_left) state.x[e] -= 3;
      if ((inputs[e] & action_punch) && events) events->emit(static_cast<uint32_t>(e));
      state.mix = (state.mix ^ inputs[e]) * 1099511628211ull;
    }
    ++state.frame;
  }
  uint64_t state_hash() override {
    return state.mix ^ (static_cast<uint64_t>(static_cast<uint32_t>(state.x[0])) << 32) ^
           static_cast<uint32_t>(state.x[1]) ^ static_cast<uint64_t>(state.frame) * 31;
  }
};

// What a player of the toy game holds: changes every few frames, so a
// prediction is sometimes right and sometimes wrong.
inline player_actions toy_script(int entry, int frame) {
  uint32_t h = static_cast<uint32_t>(frame / (5 + 2 * entry)) * 2654435761u + static_cast<uint32_t>(entry) * 40503u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  const player_actions choices[] = {0, action_right, action_left, action_punch, action_right | action_punch, action_kick};
  return choices[h % 6];
}

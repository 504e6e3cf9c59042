// The online fight's sounds on the mixer: the ledger starts each sound once
// per confirmed occurrence and stops one a correction took away, on the
// channel it was started on.
#pragma once
#include <map>

#include "app/online/online_fight_game.h"

class mixer_sound_sink final : public step_sound_sink {
 public:
  // A handle for stop_effect, -1 when nothing plays (no sample, no free channel).
  int start_effect(uint32_t key) override;
  // Halts the sound's channel unless another sound has started there since.
  void stop_effect(uint32_t key, int handle) override;

 private:
  int last_handle_ = -1;
  std::map<int, int> channel_of_;  // handle -> channel, of the last sound started on each channel
  std::map<int, int> last_on_;     // channel -> handle
};

// Combos (timed sequences of controls) and the recogniser that watches the
// keyboard for them. Times are milliseconds of game_ticks().
#pragma once
#include <cstdint>
#include <vector>

#include "fighter/control.h"
#include "fighter/player_actions.h"

class combo {
 public:
  std::vector<combo_step> steps;  // in order; their count is the combo's reqkeys
  int32_t combotype = 0;          // code reported when the combo completes
  int32_t min_total = 0;          // sum of the steps' min times (set at import)
  uint32_t max_total = 0;         // sum of the steps' max times (set at import)

  int reqkeys() const { return static_cast<int>(steps.size()); }
};

// What a player calls the move a combotype performs: "High jump" (1),
// "Special move" (2), "Dash" (3); "Combo" for a code with no move of its own.
const char* combo_move_name(int32_t combotype);

struct key_event {
  int32_t key = 0;
  uint32_t time = 0;  // ms
  int32_t state = 0;
};

struct watched_key {
  int32_t key = 0;
  int32_t last_state = 0;
};

struct combo_attempt {
  combo* which = nullptr;    // points into the bound combos list
  int32_t step_index = 0;    // steps already matched
  uint32_t deadline = 0;     // ms; the attempt expires once now passes it
  int32_t last_match = 0;    // ms of the last matched step
  int32_t from_keys = 0;     // 1: begun by a key event at `started`; 0: handed over whole (computer opponent)
  uint32_t started = 0;      // ms of the key event that began it
};

// The recogniser keeps at most this many key changes and attempts, so that
// a fight's whole state has a fixed size. Hands can't come near either
// within a combo's time; past them the oldest goes first (the nearest to
// expiring anyway).
constexpr size_t max_key_history = 128;
constexpr size_t max_combo_attempts = 64;

// One per path. Imported once at fight set-up, sampled at the start of every
// path update and polled once per frame by the fight.
class combo_recognizer {
 public:
  std::vector<key_event> history;       // changes of watched keys, oldest first
  std::vector<watched_key> watched;     // keys some imported step mentions
  uint32_t maxkeep = 0;                 // ms events stay in the history
  std::vector<combo>* combos = nullptr; // the fighter's list; must outlive the recogniser's use
  std::vector<combo_attempt> attempts;  // combos in progress, oldest first
  uint32_t now = 0;                     // ticks at the last sample

  // Binds to `list` and prints the import narration for each combo.
  void import(std::vector<combo>* list);
  // Reads the ticks through the seam; a watched key is held when the action it
  // stands for (action_of_combo_key) is among `held`. Returns the changes recorded.
  int sample(player_actions held);
  // combotype of one completed combo, or -1. Uses `now` of the last sample.
  // One entry gives one report: attempts of the reported combo begun from keys
  // up to its last matched key are dropped with it.
  int poll();
  // Appends `attempt`, dropping the oldest when max_combo_attempts are kept.
  void add_attempt(const combo_attempt& attempt);

  // Exposed for tests: the largest match time of `step` in (base+min, base+max), 0 when unmatched.
  int32_t match_step(const combo_step& step, int32_t base) const;

 private:
  void import_one(combo& c);
  void watch(int32_t key, int32_t state);
  bool find_pair(const key_pair& pair, uint32_t lo, uint32_t hi, uint32_t& when) const;
  void offer(const key_event& e);
  void drop_rivals(size_t winner);
};

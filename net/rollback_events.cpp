#include "net/rollback_events.h"

#include <algorithm>

void rollback_events::begin_frame(int frame) {
  frame_ = frame;
  for (entry& e : ledger_) {
    if (e.frame == frame) e.seen = false;
  }
}

void rollback_events::emit(uint32_t key) {
  for (entry& e : ledger_) {
    if (e.frame == frame_ && e.key == key && !e.seen) {
      e.seen = true;  // already playing from an earlier run of this frame
      return;
    }
  }
  ledger_.push_back(entry{frame_, key, sink_.start_effect(key), true});
  ++started_;
}

void rollback_events::end_frame() {
  for (const entry& e : ledger_) {
    if (e.frame == frame_ && !e.seen) {
      sink_.stop_effect(e.key, e.handle);
      ++stopped_;
    }
  }
  int frame = frame_;
  ledger_.erase(std::remove_if(ledger_.begin(), ledger_.end(),
                               [frame](const entry& e) { return e.frame == frame && !e.seen; }),
                ledger_.end());
  frame_ = -1;
}

void rollback_events::confirm_through(int frame) {
  ledger_.erase(std::remove_if(ledger_.begin(), ledger_.end(), [frame](const entry& e) { return e.frame <= frame; }),
                ledger_.end());
}

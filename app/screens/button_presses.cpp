#include "app/screens/button_presses.h"

namespace {

// Tick comparison that survives the counter wrapping.
bool reached(Uint32 now, Uint32 when) { return static_cast<Sint32>(now - when) >= 0; }

}  // namespace

int button_presses::update(bool held_now, int press_events, Uint32 now) {
  const bool newly_held = held_now && !held;
  held = held_now;
  const int presses = press_events > 0 ? press_events : (newly_held ? 1 : 0);
  if (presses > 0) {
    next_repeat = now + repeat_delay;
    return presses;
  }
  if (!held_now || !reached(now, next_repeat)) return 0;
  next_repeat += repeat_interval;
  // After a stall (a slow frame) the repeats go on at their rate, not in a burst.
  if (reached(now, next_repeat)) next_repeat = now + repeat_interval;
  return 1;
}

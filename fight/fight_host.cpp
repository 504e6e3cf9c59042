#include "fight/fight_host.h"

namespace {
fight_host silent_host;
fight_host* host_in_use = nullptr;
}  // namespace

bool fight_host::screen_size(int&, int&) const { return false; }
bool fight_host::fight_tracing() const { return false; }
long fight_host::presented_frames() const { return 0; }
void fight_host::boxes_compared(const lifeform&, const lifeform&) {}

void set_fight_host(fight_host* host) { host_in_use = host; }
fight_host& current_fight_host() { return host_in_use ? *host_in_use : silent_host; }

int fight_screen_width() {
  int w = 0, h = 0;
  return current_fight_host().screen_size(w, h) ? w : 0;
}

int fight_screen_height() {
  int w = 0, h = 0;
  return current_fight_host().screen_size(w, h) ? h : 0;
}

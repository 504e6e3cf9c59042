#include "fight/fight_clock.h"

#include "core/seams.h"

namespace {

int64_t frames = 0;
int clock_fps = 60;

Uint32 fight_ticks() { return static_cast<Uint32>(frames * 1000 / clock_fps); }

}  // namespace

uint32_t fight_clock_ms() { return fight_ticks(); }

int64_t fight_frame() { return frames; }
void set_fight_frame(int64_t frame) { frames = frame; }

void use_fight_clock(int fps) {
  clock_fps = fps > 0 ? fps : 60;
  seams().ticks = fight_ticks;
}

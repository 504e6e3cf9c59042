// The fight's own time: the frames stepped so far and, in runs that may roll
// back, the milliseconds every reader of the tick seam sees, frames x 1000 /
// fps, so that putting the frame count back puts the clock back.
#pragma once
#include <cstdint>

int64_t fight_frame();
void set_fight_frame(int64_t frame);
// The tick seam reads fight_frame() * 1000 / fps from now on.
void use_fight_clock(int fps);
// What that clock reads now (whether or not the seam reads it).
uint32_t fight_clock_ms();

// Pictures of the Veltmoore stage: sky piece, parallax layers, upper sky, floor.
#pragma once
#include "canvas.h"

constexpr int kStageW = 1600;

Canvas stage_ground_piece();  // 1600x480, opaque: dusk sky and far mountains
Canvas stage_far_layer();     // 1600x480, keyed: hills and a ruined keep
Canvas stage_near_layer();    // 1600x480, keyed: trees, standing stones, earth bank
Canvas stage_upper_piece();   // 1600x240, opaque: night sky above
Canvas stage_floor();         // 1600x100, opaque: flagstones

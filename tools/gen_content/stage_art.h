// Pictures of the Veltmoore stage: sky piece, parallax layers, floor.
#pragma once
#include "canvas.h"

constexpr int kStageW = 1600;
constexpr int kStageH = 1200;  // the back pieces (zoom goes down to 0.4); the art sits in their bottom 480 rows

Canvas stage_ground_piece();  // 1600x1200, opaque: night and dusk sky, far mountains
Canvas stage_far_layer();     // 1600x1200, keyed: hills and a ruined keep
Canvas stage_near_layer();    // 1600x1200, keyed: trees, standing stones, earth bank
Canvas stage_floor();         // 1600x100, opaque: flagstones

// The looping loading band shown while the stage loads.
#pragma once
#include "canvas.h"

constexpr int kLoadingFrames = 8;
Canvas loading_frame(int frame);  // 640x60, keyed

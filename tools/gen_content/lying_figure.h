// A knocked-out fighter's picture: the figure flat on its back.
#pragma once
#include "canvas.h"
#include "figure.h"

// The fighter painted limp, turned a quarter so it lies on its back with its
// feet toward the picture's left (facing left, it fell away from an opponent
// on its left), cropped to the figure with its body on the bottom rows.
Canvas lying_figure(const Look& look);

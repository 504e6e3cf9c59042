// The actions both players hold in the frame being made, read once a frame:
// from the replay being played, or from the keyboard and joysticks through
// each player's bindings (and then noted for a recording).
#pragma once
#include "app/input/action_bindings.h"
#include "fighter/player_actions.h"

struct frame_actions {
  player_actions player[2] = {0, 0};
};

frame_actions read_frame_actions();

// The tables in force, defaults until something rebinds them.
action_bindings& player_bindings(int player);

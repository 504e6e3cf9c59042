// The actions both players hold in the frame being made, read once a frame:
// from the replay being played, or from the keyboard and joysticks through
// each player's bindings (and then noted for a recording).
#pragma once
#include <string>
#include <string_view>

#include "app/input/action_bindings.h"
#include "fighter/player_actions.h"

struct frame_actions {
  player_actions player[2] = {0, 0};
};

frame_actions read_frame_actions();

// The tables in force (player 0 or 1), defaults until something rebinds them.
const action_bindings& player_bindings(int player);
// A setting such as "p1_punch" = "j" applied to the tables in force
// (apply_binding_setting); false with `error`, nothing changed, when malformed.
bool rebind_player_action(std::string_view name, std::string_view value, std::string& error);
void reset_player_bindings();
// Only `player`'s table back to its defaults.
void reset_player_bindings(int player);
// An input pressed on the controls screen for `player`'s `slot` (bind_pressed_input).
void bind_player_input(int player, int slot, const input_binding& input);

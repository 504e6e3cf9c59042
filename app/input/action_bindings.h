// Which keys and joystick inputs hold which action, one small table per player,
// and reading a frame's actions through it. The fight sees only the actions,
// so a table rebound from the player's settings changes nothing else.
//
// A binding is written as an SDL key name as in key scripts ("j", "space",
// "left") or a joystick input: "joy0 button 1", "joy1 axis 0 -" (axis 0 of
// joystick 1 pushed to its negative side; "+" the positive side).
#pragma once
#include <SDL.h>

#include <string>
#include <string_view>

#include "fighter/player_actions.h"

// The actions a binding can hold: up, down, left, right, punch, kick, extra1,
// extra2 (bits 0..7). The x_/y_ bits say how far a stick is pushed and follow
// from the stick itself.
constexpr int bindable_action_count = 8;
constexpr int max_inputs_per_action = 4;

struct input_binding {
  enum class device : uint8_t { none, key, joy_button, joy_axis };
  device kind = device::none;
  int stick = 0;  // joystick 0 or 1
  int index = 0;  // key code, button or axis
  int sign = 1;   // an axis: +1 its positive side, -1 its negative side
};

struct action_bindings {
  input_binding inputs[bindable_action_count][max_inputs_per_action];
};

// Player 0: arrows, i or SPACE (punch), k (kick), joystick 0 (stick, buttons
// 0..3 punch, kick, extra1, extra2). Player 1: w, s, a, d, TAB (punch), z
// (kick), joystick 1 the same way.
action_bindings default_action_bindings(int player);

// What `b` holds now: keys from `keys` (SDLK_LAST entries), joysticks through
// the joystick seams only when `joysticks_open`. A key held in a group (left
// and right, up and down, the attacks) hides the joystick's inputs of that
// group. A stick pushed past 3200 holds its action at half speed, past 10000
// at full speed, past 17000 strongly; a key or button holds it at full speed.
player_actions read_player_actions(const action_bindings& b, const Uint8* keys, bool joysticks_open);

// "j", "joy0 button 1", "joy1 axis 0 -". False with `error` when malformed.
bool parse_input_binding(std::string_view text, input_binding& out, std::string& error);
std::string input_binding_text(const input_binding& b);

// A setting "p1_punch" = "j": binds that player's action to that one input
// alone, taking it from any other action of the same player that held it.
// False with `error` on an unknown name or a malformed input; nothing changes then.
bool apply_binding_setting(action_bindings players[2], std::string_view name, std::string_view value,
                           std::string& error);

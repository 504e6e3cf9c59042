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
// Each player also binds a pause input, read apart from the actions: the
// fight and replays never see it.
constexpr int pause_slot = bindable_action_count;
constexpr int binding_slot_count = bindable_action_count + 1;
constexpr int max_inputs_per_action = 4;

struct input_binding {
  enum class device : uint8_t { none, key, joy_button, joy_axis };
  device kind = device::none;
  int stick = 0;  // joystick 0 or 1
  int index = 0;  // key code, button or axis
  int sign = 1;   // an axis: +1 its positive side, -1 its negative side
};

struct action_bindings {
  input_binding inputs[binding_slot_count][max_inputs_per_action];
};

// "up" ... "extra2", then "pause"; null past the last slot. The reverse gives -1 when unknown.
const char* binding_slot_name(int slot);
int binding_slot_index(std::string_view name);

// Player 0: arrows, i or SPACE (punch), k (kick), joystick 0 (stick, buttons
// 0..3 punch, kick, extra1, extra2), pause p or joystick 0's button 7.
// Player 1: w, s, a, d, TAB (punch), z (kick), joystick 1 the same way, pause
// joystick 1's button 7.
action_bindings default_action_bindings(int player);

// What `b` holds now: keys from `keys` (SDLK_LAST entries), joysticks through
// the joystick seams only when `joysticks_open`. A key held in a group (left
// and right, up and down, the attacks) hides the joystick's inputs of that
// group. A stick pushed past 3200 holds its action at half speed, past 10000
// at full speed, past 17000 strongly; a key or button holds it at full speed.
player_actions read_player_actions(const action_bindings& b, const Uint8* keys, bool joysticks_open);

// Whether the pause input is held now, by a key (`by_key`) or by a joystick input (`by_joystick`).
void read_pause_held(const action_bindings& b, const Uint8* keys, bool joysticks_open, bool& by_key,
                     bool& by_joystick);

// "j", "joy0 button 1", "joy1 axis 0 -". False with `error` when malformed.
bool parse_input_binding(std::string_view text, input_binding& out, std::string& error);
std::string input_binding_text(const input_binding& b);

// A setting "p1_punch" = "j": binds that player's action to that one input
// alone, taking it from any other action of the same player that held it.
// A list ("j, joy0 button 0") binds it to those inputs; "none" to nothing.
// False with `error` on an unknown name or a malformed input; nothing changes then.
bool apply_binding_setting(action_bindings players[2], std::string_view name, std::string_view value,
                           std::string& error);

// The slot's inputs as a setting's value: "j, joy0 button 0", or "none".
std::string slot_inputs_text(const action_bindings& b, int slot);

// An input pressed on the controls screen for `player`'s `slot`: it replaces
// the slot's inputs of its kind (keys, or joystick inputs) and keeps the
// others. An input held by another slot of either player is swapped: that
// slot gets the replaced input of the same kind (or loses it, when there was
// none), so no input ever does two things.
void bind_pressed_input(action_bindings players[2], int player, int slot, const input_binding& input);

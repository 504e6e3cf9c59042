// What a player holds in one frame, as action bits: the fight reads these, never
// the keyboard or a joystick, so any key or stick can be bound to any action
// and a replay of the bits plays the same whatever was bound.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

using player_actions = uint16_t;

enum player_action_bit : player_actions {
  action_up = 1u << 0,
  action_down = 1u << 1,
  action_left = 1u << 2,
  action_right = 1u << 3,
  action_punch = 1u << 4,
  action_kick = 1u << 5,
  action_extra1 = 1u << 6,  // the joystick's third button: attack 4
  action_extra2 = 1u << 7,  // its fourth: attack 5
  // How far a stick is pushed along an axis when only a stick moves it: half
  // (0.5) or strong (1.5); neither is full (1.0), as a key gives.
  action_x_half = 1u << 8,
  action_x_strong = 1u << 9,
  action_y_half = 1u << 10,
  action_y_strong = 1u << 11,
};

constexpr int player_action_count = 12;
constexpr player_actions all_player_actions = (1u << player_action_count) - 1;

// "up", "down", ..., "extra2", "x_half", ...: bit i's name, null past the last.
const char* player_action_name(int bit);
int player_action_index(std::string_view name);  // -1 when unknown

// "none" or the names of the bits held joined by '+' ("right+punch").
std::string player_actions_text(player_actions a);
// The reverse; false on an unknown name, a repeated one or an empty field.
bool parse_player_actions(std::string_view text, player_actions& out);

// Combos are spelled with the keys of the two control maps (arrows, i, k for
// the first player; w, s, a, d, TAB, z for the second): the action each of
// those keys stands for, 0 for any other key.
player_actions action_of_combo_key(int32_t key);

#include "fighter/player_actions.h"

#include <SDL.h>

namespace {

const char* const action_names[player_action_count] = {"up",     "down",   "left",   "right",    "punch",
                                                       "kick",   "extra1", "extra2", "x_half",   "x_strong",
                                                       "y_half", "y_strong"};

}  // namespace

const char* player_action_name(int bit) {
  return bit >= 0 && bit < player_action_count ? action_names[bit] : nullptr;
}

int player_action_index(std::string_view name) {
  for (int i = 0; i < player_action_count; ++i) {
    if (name == action_names[i]) return i;
  }
  return -1;
}

std::string player_actions_text(player_actions a) {
  std::string text;
  for (int i = 0; i < player_action_count; ++i) {
    if (!(a & (1u << i))) continue;
    if (!text.empty()) text += '+';
    text += action_names[i];
  }
  return text.empty() ? "none" : text;
}

bool parse_player_actions(std::string_view text, player_actions& out) {
  out = 0;
  if (text == "none") return true;
  size_t at = 0;
  while (true) {
    const size_t plus = text.find('+', at);
    const std::string_view name = text.substr(at, plus == std::string_view::npos ? std::string_view::npos : plus - at);
    const int i = player_action_index(name);
    if (i < 0 || (out & (1u << i))) return false;
    out = static_cast<player_actions>(out | (1u << i));
    if (plus == std::string_view::npos) return true;
    at = plus + 1;
  }
}

player_actions action_of_combo_key(int32_t key) {
  switch (key) {
    case SDLK_UP:
    case SDLK_w:
      return action_up;
    case SDLK_DOWN:
    case SDLK_s:
      return action_down;
    case SDLK_LEFT:
    case SDLK_a:
      return action_left;
    case SDLK_RIGHT:
    case SDLK_d:
      return action_right;
    case SDLK_i:
    case SDLK_TAB:
      return action_punch;
    case SDLK_k:
    case SDLK_z:
      return action_kick;
    default:
      return 0;
  }
}

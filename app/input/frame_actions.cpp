#include "app/input/frame_actions.h"

#include "app/replay/replay_session.h"
#include "core/seams.h"

namespace {

action_bindings bindings[2] = {default_action_bindings(0), default_action_bindings(1)};

}  // namespace

const action_bindings& player_bindings(int player) { return bindings[player == 1 ? 1 : 0]; }

bool rebind_player_action(std::string_view name, std::string_view value, std::string& error) {
  return apply_binding_setting(bindings, name, value, error);
}

void reset_player_bindings() {
  bindings[0] = default_action_bindings(0);
  bindings[1] = default_action_bindings(1);
}

void reset_player_bindings(int player) {
  const int p = player == 1 ? 1 : 0;
  bindings[p] = default_action_bindings(p);
}

void bind_player_input(int player, int slot, const input_binding& input) {
  if (slot < 0 || slot >= binding_slot_count) return;
  bind_pressed_input(bindings, player == 1 ? 1 : 0, slot, input);
}

frame_actions read_frame_actions() {
  frame_actions f;
  if (replayed_actions(f.player)) return f;
  const Uint8* keys = key_state();
  for (int p = 0; p < 2; ++p) f.player[p] = read_player_actions(bindings[p], keys, joystick_ready());
  note_actions(f.player);
  return f;
}

#include "app/input/frame_actions.h"

#include "app/replay/replay_session.h"
#include "core/seams.h"

namespace {

action_bindings bindings[2] = {default_action_bindings(0), default_action_bindings(1)};

}  // namespace

action_bindings& player_bindings(int player) { return bindings[player == 1 ? 1 : 0]; }

frame_actions read_frame_actions() {
  frame_actions f;
  if (replayed_actions(f.player)) return f;
  const Uint8* keys = key_state();
  for (int p = 0; p < 2; ++p) f.player[p] = read_player_actions(bindings[p], keys, joystick_ready());
  note_actions(f.player);
  return f;
}

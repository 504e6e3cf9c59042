// Bindings as a settings file writes them, and what a rebound table reads.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "app/input/action_bindings.h"
#include "app/input/frame_actions.h"
#include "core/seams.h"

namespace {

int second_stick_buttons = 0;
Sint16 second_stick_axes[2] = {0, 0};
int second_button(int b) { return (second_stick_buttons >> b) & 1; }
Sint16 second_axis(int a) { return a >= 0 && a < 2 ? second_stick_axes[a] : 0; }

std::string binding_error(const char* text) {
  input_binding b;
  std::string error;
  return parse_input_binding(text, b, error) ? "accepted" : error;
}

std::string table_text(const action_bindings& t) {
  std::string text;
  for (const auto& inputs : t.inputs) {
    for (const input_binding& b : inputs) text += input_binding_text(b) + ",";
    text += "\n";
  }
  return text;
}

}  // namespace

TEST(ActionBindings, InputsReadBackAsWrittenAndMalformedOnesAreRefused) {
  for (const char* text : {"j", "space", "left", "joy0 button 1", "joy1 axis 0 -", "joy0 axis 7 +"}) {
    SCOPED_TRACE(text);
    input_binding b;
    std::string error;
    ASSERT_TRUE(parse_input_binding(text, b, error)) << error;
    EXPECT_EQ(text, input_binding_text(b));
  }
  input_binding axis;
  std::string error;
  ASSERT_TRUE(parse_input_binding("joy1 axis 0 -", axis, error));
  EXPECT_EQ(input_binding::device::joy_axis, axis.kind);
  EXPECT_EQ(1, axis.stick);
  EXPECT_EQ(-1, axis.sign);
  for (const char* text : {"", "jj", "j k", "joy2 button 1", "joy0 button 32", "joy0 axis 0", "joy0 axis 8 -",
                           "joy0 axis 0 - x", "joy0 button"}) {
    SCOPED_TRACE(text);
    EXPECT_NE("accepted", binding_error(text));
  }
}

TEST(ActionBindings, ASettingRebindsOneActionAndTakesItsInputFromAnother) {
  action_bindings players[2] = {default_action_bindings(0), default_action_bindings(1)};
  Uint8 keys[SDLK_LAST] = {};
  std::string error;
  ASSERT_TRUE(apply_binding_setting(players, "p1_punch", "k", error)) << error;
  keys[SDLK_k] = 1;
  EXPECT_EQ(action_punch, read_player_actions(players[0], keys, false));  // no longer a kick
  keys[SDLK_k] = 0;
  keys[SDLK_i] = 1;
  EXPECT_EQ(0, read_player_actions(players[0], keys, false));  // i held punch only by default
  EXPECT_EQ(0, read_player_actions(players[1], keys, false));

  // The second player's left on joystick 1's stick alone: a no longer walks.
  g_joystick_ready = 1;
  seams().second_joy_button = second_button;
  seams().second_joy_axis = second_axis;
  ASSERT_TRUE(apply_binding_setting(players, "p2_left", "joy1 axis 0 -", error)) << error;
  second_stick_axes[0] = -12000;
  EXPECT_EQ(action_left, read_player_actions(players[1], keys, true));
  second_stick_axes[0] = -5000;
  EXPECT_EQ(action_left | action_x_half, read_player_actions(players[1], keys, true));
  keys[SDLK_a] = 1;  // a no longer walks left
  EXPECT_EQ(action_left | action_x_half, read_player_actions(players[1], keys, true));
  second_stick_axes[0] = 0;
  reset_seams();
  g_joystick_ready = 0;

  // Unknown names change nothing.
  const std::string before = table_text(players[0]);
  for (const char* name : {"p3_punch", "p1_jump", "punch", "p1_x_half", "p1_"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(apply_binding_setting(players, name, "j", error));
    EXPECT_FALSE(error.empty());
  }
  EXPECT_FALSE(apply_binding_setting(players, "p1_kick", "joy3 button 1", error));
  EXPECT_EQ(before, table_text(players[0]));
}

// The tables the fight reads each frame are the ones a setting rebinds.
TEST(ActionBindings, TheFrameReadsTheTablesInForce) {
  use_scripted_keys();
  scripted_keys()[SDLK_j] = 1;
  std::string error;
  ASSERT_TRUE(rebind_player_action("p2_kick", "j", error)) << error;
  EXPECT_EQ(action_kick, read_frame_actions().player[1]);
  EXPECT_EQ(0, read_frame_actions().player[0]);
  reset_player_bindings();
  EXPECT_EQ(0, read_frame_actions().player[1]);
  scripted_keys()[SDLK_j] = 0;
  reset_seams();
}

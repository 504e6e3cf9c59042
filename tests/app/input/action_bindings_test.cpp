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

namespace {

// Every input held by at most one slot of the two players.
int inputs_bound_twice(const action_bindings players[2]) {
  int twice = 0;
  for (int p = 0; p < 2; ++p) {
    for (int s = 0; s < binding_slot_count; ++s) {
      for (const input_binding& b : players[p].inputs[s]) {
        if (b.kind == input_binding::device::none) continue;
        int holders = 0;
        for (int q = 0; q < 2; ++q) {
          for (int t = 0; t < binding_slot_count; ++t) {
            for (const input_binding& c : players[q].inputs[t]) {
              if (input_binding_text(c) == input_binding_text(b)) ++holders;
            }
          }
        }
        if (holders > 1) ++twice;
      }
    }
  }
  return twice;
}

input_binding parsed(const char* text) {
  input_binding b;
  std::string error;
  EXPECT_TRUE(parse_input_binding(text, b, error)) << error;
  return b;
}

}  // namespace

// The controls screen: a pressed input replaces its own kind only, and is
// swapped with whichever action of either player held it.
TEST(ActionBindings, APressedInputIsSwappedNeverBoundTwiceAndSavesAsASetting) {
  action_bindings players[2] = {default_action_bindings(0), default_action_bindings(1)};
  ASSERT_EQ(0, inputs_bound_twice(players));
  bind_pressed_input(players, 0, binding_slot_index("punch"), parsed("w"));  // the second player's up
  EXPECT_EQ("w, joy0 button 0", slot_inputs_text(players[0], 4));
  EXPECT_EQ("i, joy1 axis 1 -", slot_inputs_text(players[1], 0));  // up gets the punch's first key
  bind_pressed_input(players, 0, binding_slot_index("kick"), parsed("joy0 button 0"));
  EXPECT_EQ("k, joy0 button 0", slot_inputs_text(players[0], 5));
  EXPECT_EQ("w, joy0 button 1", slot_inputs_text(players[0], 4));
  bind_pressed_input(players, 1, pause_slot, parsed("p"));
  EXPECT_EQ("p, joy1 button 7", slot_inputs_text(players[1], pause_slot));
  EXPECT_EQ("joy0 button 7", slot_inputs_text(players[0], pause_slot));  // had no other key: loses it
  EXPECT_EQ(0, inputs_bound_twice(players));

  // Each slot's text, as the settings file keeps it, rebuilds the same tables.
  action_bindings read_back[2] = {default_action_bindings(0), default_action_bindings(1)};
  for (int p = 0; p < 2; ++p) {
    for (int s = 0; s < binding_slot_count; ++s) {
      const std::string name = "p" + std::to_string(p + 1) + "_" + binding_slot_name(s);
      std::string error;
      ASSERT_TRUE(apply_binding_setting(read_back, name, slot_inputs_text(players[p], s), error)) << name << error;
    }
  }
  EXPECT_EQ(table_text(players[0]), table_text(read_back[0]));
  EXPECT_EQ(table_text(players[1]), table_text(read_back[1]));
  std::string error;
  EXPECT_FALSE(apply_binding_setting(read_back, "p1_up", "a, b, c, d, e", error));
  EXPECT_FALSE(apply_binding_setting(read_back, "p1_up", "a,", error));
  ASSERT_TRUE(apply_binding_setting(read_back, "p1_pause", "none", error));
  EXPECT_EQ("none", slot_inputs_text(read_back[0], pause_slot));

  // Pause reads apart from the actions, telling a key from a joystick input.
  Uint8 keys[SDLK_LAST] = {};
  keys[SDLK_p] = 1;
  bool by_key = false, by_joystick = false;
  read_pause_held(players[1], keys, false, by_key, by_joystick);
  EXPECT_TRUE(by_key);
  EXPECT_FALSE(by_joystick);
  EXPECT_EQ(0, read_player_actions(players[1], keys, false));
  read_pause_held(players[0], keys, false, by_key, by_joystick);
  EXPECT_FALSE(by_key);
}

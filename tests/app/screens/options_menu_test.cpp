// Option steps stay in their ranges, and the menus before a fight listen to
// the second joystick as well as the first.
#include <gtest/gtest.h>

#include "app/fight/menu.h"
#include "app/screens/options_menu.h"
#include "app/video.h"
#include "core/seams.h"

TEST(OptionsMenu, StepsStayInRangeAndRoundTimesSnapToTheOffered) {
  game_settings s;
  s.difficulty = 5;
  EXPECT_FALSE(step_option(option_difficulty, 1, s));
  EXPECT_EQ(5, s.difficulty);
  EXPECT_TRUE(step_option(option_difficulty, -1, s));
  EXPECT_EQ(4, s.difficulty);
  s.scale = 1;
  EXPECT_FALSE(step_option(option_scale, -1, s));
  EXPECT_EQ(1, s.scale);
  s.effects_volume = 10;
  EXPECT_FALSE(step_option(option_effects_volume, 1, s));
  // A clock set by hand between two offered ones steps to its neighbours.
  s.round_time = 75;
  EXPECT_TRUE(step_option(option_round_time, 1, s));
  EXPECT_EQ(90, s.round_time);
  s.round_time = 75;
  EXPECT_TRUE(step_option(option_round_time, -1, s));
  EXPECT_EQ(60, s.round_time);
  s.round_time = 30;
  EXPECT_TRUE(step_option(option_round_time, -1, s));
  EXPECT_EQ(0, s.round_time);
  EXPECT_EQ("No clock", option_value_text(option_round_time, s));
  EXPECT_FALSE(step_option(option_round_time, -1, s));
  // Switches flip whichever way they are pushed; Back has no value.
  EXPECT_TRUE(step_option(option_mute, -1, s));
  EXPECT_TRUE(s.mute);
  EXPECT_FALSE(step_option(option_back, 1, s));
}

namespace {
Sint16 second_stick_down(int axis) { return axis == 1 ? 30000 : 0; }
int second_stick_button1(int button) { return button == 1; }
}  // namespace

TEST(OptionsMenu, TheSecondJoystickSteersTheMenusBeforeAFight) {
  reset_seams();
  const int was = g_video.joystick_ok;
  g_video.joystick_ok = 1;
  seams().second_joy_axis = second_stick_down;
  seams().second_joy_button = second_stick_button1;
  use_scripted_keys();
  scripted_keys()[SDLK_DOWN] = scripted_keys()[SDLK_ESCAPE] = 0;
  const menu_keys both = read_menu_keys(true);
  EXPECT_TRUE(both.held[menu_down]);
  EXPECT_TRUE(both.held[menu_escape]);
  // The fight's own menus stay with joystick 0.
  const menu_keys first = read_menu_keys();
  EXPECT_FALSE(first.held[menu_down]);
  EXPECT_FALSE(first.held[menu_escape]);
  g_video.joystick_ok = was;
  reset_seams();
}

// Path modes: the human's keys and joystick (read into actions through the
// default bindings, as the fight reads them), the step table, the patterns
// projectiles use.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "app/input/action_bindings.h"
#include "app/video.h"
#include "core/quit_request.h"
#include "core/seams.h"
#include "core/trig_tables.h"
#include "fighter/path.h"
#include "support/test_env.h"

namespace {

int pressed_buttons = 0;          // bit b: button b held
Sint16 axes[2] = {0, 0};
int fake_button(int b) { return (pressed_buttons >> b) & 1; }
Sint16 fake_axis(int a) { return a >= 0 && a < 2 ? axes[a] : 0; }

class Path : public ::testing::Test {
 protected:
  void SetUp() override {
    ensure_video();
    use_scripted_keys();
    std::memset(scripted_keys(), 0, SDLK_LAST);
    pressed_buttons = 0;
    axes[0] = axes[1] = 0;
    seams().joy_button = fake_button;
    seams().joy_axis = fake_axis;
    saved_joystick = g_video.joystick_ok;
    g_video.joystick_ok = 0;
  }
  void TearDown() override {
    std::memset(scripted_keys(), 0, SDLK_LAST);
    reset_seams();
    g_video.joystick_ok = saved_joystick;
  }
  void key(int k) { scripted_keys()[k] = 1; }

  // One update of `q` with what its player holds on the keyboard and joysticks.
  void steer(path& q) {
    q.actions = read_player_actions(default_action_bindings(q.player), key_state(), joystick_ready());
    q.update();
  }

  // One update of a single-step human path, with the requests reset as steer does.
  path& human() {
    if (p.step_count == 0) p.add_step(mode_human);
    steer(p);
    return p;
  }

  path p;
  int saved_joystick = 0;
};

// The update takes one event off the queue; a close request is kept, not lost.
TEST_F(Path, AQuitEventTakenByTheUpdateIsRecorded) {
  SDL_Event e;
  while (SDL_PollEvent(&e) == 1) {
  }
  forget_quit_request();
  SDL_Event close = {};
  close.type = SDL_QUIT;
  SDL_PushEvent(&close);
  human();
  EXPECT_EQ(0, SDL_PollEvent(&e));  // it was the update that took it
  EXPECT_TRUE(quit_requested());
  forget_quit_request();
}

TEST_F(Path, RightBeatsLeftAndNothingHeldStops) {
  key(SDLK_LEFT);
  key(SDLK_RIGHT);
  EXPECT_EQ(human().vx, 1.0);
  std::memset(scripted_keys(), 0, SDLK_LAST);
  p.vx = -1.0;  // last frame's movement
  p.vy = 1.0;
  human();
  EXPECT_EQ(p.vx, 0.0);
  EXPECT_EQ(p.vy, 0.0);
  EXPECT_EQ(p.primary_trigger, -1);
}

TEST_F(Path, DownBeatsUp) {
  key(SDLK_UP);
  key(SDLK_DOWN);
  EXPECT_EQ(human().vy, 1.0);
}

TEST_F(Path, KBeatsIAndBothAimUp) {
  key(SDLK_i);
  EXPECT_EQ(human().primary_trigger, 0);
  EXPECT_EQ(p.aim_y, -1.0);
  key(SDLK_k);
  EXPECT_EQ(human().primary_trigger, 3);
  EXPECT_EQ(p.aim_x, 0.0);
  EXPECT_EQ(p.aim_y, -1.0);
}

TEST_F(Path, JoystickIsIgnoredWithoutOne) {
  axes[0] = 20000;
  pressed_buttons = 1;
  human();
  EXPECT_EQ(p.vx, 0.0);
  EXPECT_EQ(p.primary_trigger, -1);
}

TEST_F(Path, JoystickAxisBandsHaveExclusiveBounds) {
  g_video.joystick_ok = 1;
  struct band {
    Sint16 value;
    double expected;
  };
  const band bands[] = {{3200, 0.0},    {3201, 0.5},    {10000, 0.5},  {10001, 1.0},  {17000, 1.0},
                        {17001, 1.5},   {32767, 1.5},   {-3200, 0.0},  {-3201, -0.5}, {-10000, -0.5},
                        {-10001, -1.0}, {-17000, -1.0}, {-17001, -1.5}, {-32768, -1.5}};
  for (const band& b : bands) {
    axes[0] = b.value;
    axes[1] = b.value;
    human();
    EXPECT_EQ(p.vx, b.expected) << "axis value " << b.value;
    EXPECT_EQ(p.vy, b.expected) << "axis value " << b.value;
  }
}

TEST_F(Path, KeyboardBeatsJoystick) {
  g_video.joystick_ok = 1;
  axes[0] = 20000;
  axes[1] = 20000;
  pressed_buttons = 1 << 1;  // button 1: kick
  key(SDLK_LEFT);
  key(SDLK_i);
  human();
  EXPECT_EQ(p.vx, -1.0);
  EXPECT_EQ(p.vy, 1.5);             // no vertical key: the joystick's value stays
  EXPECT_EQ(p.primary_trigger, 0);  // i overrides the joystick's kick
}

TEST_F(Path, JoystickButtonsMapToAttacks) {
  g_video.joystick_ok = 1;
  const int expected[4] = {0, 3, 4, 5};
  for (int b = 0; b < 4; ++b) {
    pressed_buttons = 1 << b;
    human();
    EXPECT_EQ(p.primary_trigger, expected[b]) << "button " << b;
    EXPECT_EQ(p.aim_y, -1.0);
  }
  pressed_buttons = (1 << 1) | (1 << 3);  // later buttons win
  EXPECT_EQ(human().primary_trigger, 5);
}

TEST_F(Path, StepTableCycles) {
  p.add_step(mode_human);
  p.add_step(mode_human);
  p.add_step(mode_straight);
  key(SDLK_UP);
  const int expected_index[7] = {0, 1, 2, 0, 1, 2, 0};
  for (int frame = 0; frame < 7; ++frame) {
    EXPECT_EQ(p.step_index, expected_index[frame]);
    p.vy = 5.0;
    steer(p);
    // Mode 3 reads UP (-1), mode 7 clears vy.
    EXPECT_EQ(p.vy, expected_index[frame] == 2 ? 0.0 : -1.0) << "frame " << frame;
  }
}

TEST_F(Path, StepTableRefusesA101stRow) {
  for (int i = 0; i < path::max_steps; ++i) p.add_step(mode_straight);
  std::string out = capture_stdout([&] { p.add_step(mode_human); });
  EXPECT_EQ(p.step_count, path::max_steps);
  EXPECT_NE(out.find("ERROR:"), std::string::npos);
}

TEST_F(Path, EmptyOrStaleStepIndexIsSafe) {
  p.vx = 3.0;
  p.update();  // no rows: nothing requested
  EXPECT_EQ(p.vx, 3.0);
  EXPECT_EQ(p.primary_trigger, -1);
  p.add_step(mode_straight);
  p.step_index = 57;
  p.vy = 2.0;
  p.update();
  EXPECT_EQ(p.vy, 0.0);
  EXPECT_EQ(p.step_index, 0);
}

TEST_F(Path, CircleUsesTheTrigTables) {
  fill_trig_tables();
  p.add_step(mode_circle);
  p.age = 0;
  p.update();
  EXPECT_DOUBLE_EQ(p.vx, 100 * static_cast<double>(0.01f) + 0.1);
  EXPECT_EQ(p.vy, 0.0);
  EXPECT_EQ(p.primary_trigger, 0);
  EXPECT_EQ(p.aim_y, 1.0);
  p.age = 30;  // i = 90: cos 0, sin 99 with the single-precision factor
  p.update();
  EXPECT_DOUBLE_EQ(p.vx, 0.1);
  EXPECT_DOUBLE_EQ(p.vy, 99 * static_cast<double>(0.01f));
  p.age = 120;  // wraps to i = 0
  p.update();
  EXPECT_DOUBLE_EQ(p.vx, 100 * static_cast<double>(0.01f) + 0.1);
}

TEST_F(Path, WaveFollowsAgeAndKeepsVy) {
  p.add_step(mode_wave);
  p.age = 45;
  p.vy = 0.25;
  p.update();
  EXPECT_DOUBLE_EQ(p.vx, std::cos(2 * 45 * 0.03488888888888889));
  EXPECT_EQ(p.vy, 0.25);
  EXPECT_EQ(p.primary_trigger, 0);
}

TEST_F(Path, StraightKeepsTheHorizontalDrive) {
  p.add_step(mode_straight);
  p.vx = -2.5;
  p.vy = 1.0;
  p.update();
  EXPECT_EQ(p.vx, -2.5);
  EXPECT_EQ(p.vy, 0.0);
  EXPECT_EQ(p.primary_trigger, -1);
}

TEST_F(Path, SecondKeyboardTabBeatsZ) {
  p.add_step(mode_second_keys);
  p.player = 1;
  key(SDLK_a);
  key(SDLK_d);
  key(SDLK_z);
  steer(p);
  EXPECT_EQ(p.vx, 1.0);
  EXPECT_EQ(p.vy, 0.0);
  EXPECT_EQ(p.primary_trigger, 3);
  key(SDLK_TAB);
  steer(p);
  EXPECT_EQ(p.primary_trigger, 0);
  EXPECT_EQ(p.aim_y, -1.0);
}

int second_buttons = 0;  // joystick 1, bit b: button b held
Sint16 second_axes[2] = {0, 0};
int fake_second_button(int b) { return (second_buttons >> b) & 1; }
Sint16 fake_second_axis(int a) { return a >= 0 && a < 2 ? second_axes[a] : 0; }

// Two humans at one keyboard: each path reads its own keys and joystick only,
// by the same rules (kick beats punch, the keyboard beats the joystick).
TEST_F(Path, EachPlayerSteersWithTheirOwnKeysAndJoystick) {
  second_buttons = 0;
  second_axes[0] = second_axes[1] = 0;
  seams().second_joy_button = fake_second_button;
  seams().second_joy_axis = fake_second_axis;
  g_video.joystick_ok = 1;
  path second;
  second.add_step(mode_human);
  second.player = 1;

  // The first player's keys and joystick move only the first.
  for (int k : {SDLK_RIGHT, SDLK_DOWN, SDLK_i, SDLK_SPACE, SDLK_k}) key(k);
  pressed_buttons = 1;
  axes[0] = axes[1] = 20000;
  steer(second);
  EXPECT_EQ(second.vx, 0.0);
  EXPECT_EQ(second.vy, 0.0);
  EXPECT_EQ(second.primary_trigger, -1);
  EXPECT_EQ(human().primary_trigger, 3);

  // The second player's keys and joystick 1 move only the second.
  std::memset(scripted_keys(), 0, SDLK_LAST);
  pressed_buttons = 0;
  axes[0] = axes[1] = 0;
  key(SDLK_a);
  key(SDLK_d);
  key(SDLK_s);
  key(SDLK_TAB);
  second_buttons = 1 << 2;
  second_axes[1] = -20000;
  steer(second);
  EXPECT_EQ(second.vx, 1.0);   // d beats a
  EXPECT_EQ(second.vy, 1.0);   // the key beats joystick 1's axis
  EXPECT_EQ(second.primary_trigger, 0);  // Tab, read after joystick 1's button 2
  EXPECT_EQ(second.aim_y, -1.0);
  key(SDLK_z);
  steer(second);
  EXPECT_EQ(second.primary_trigger, 3);
  std::memset(scripted_keys(), 0, SDLK_LAST);
  second_axes[0] = -20000;
  steer(second);
  EXPECT_EQ(second.vx, -1.5);
  EXPECT_EQ(second.vy, -1.5);
  EXPECT_EQ(second.primary_trigger, 4);
  path& first = human();
  EXPECT_EQ(first.vx, 0.0);
  EXPECT_EQ(first.vy, 0.0);
  EXPECT_EQ(first.primary_trigger, -1);
}

int scripted_values[8];
int scripted_count = 0;
int scripted_next = 0;
int scripted_rand() { return scripted_next < scripted_count ? scripted_values[scripted_next++] : 0; }
void script_rand(std::initializer_list<int> values) {
  scripted_count = 0;
  scripted_next = 0;
  for (int v : values) scripted_values[scripted_count++] = v;
  seams().random = scripted_rand;
}

TEST_F(Path, WanderDrawsInOrder) {
  p.add_step(mode_wander);
  p.vx = 7.0;
  p.vy = 7.0;
  script_rand({91, 2, 90, 11});  // move right, keep vy, fire
  p.update();
  EXPECT_EQ(p.vx, 1.0);
  EXPECT_EQ(p.vy, 7.0);
  EXPECT_EQ(p.primary_trigger, 0);
  EXPECT_EQ(p.aim_y, 1.0);
  script_rand({90, 91, 0, 10});  // keep vx, vy = -1, no fire
  p.update();
  EXPECT_EQ(p.vx, 1.0);
  EXPECT_EQ(p.vy, -1.0);
  EXPECT_EQ(p.primary_trigger, -1);
}

TEST_F(Path, RandomShooterUsesTheSecondaryTrigger) {
  p.add_step(mode_random_shooter);
  script_rand({11, 0, 81, 1, 96});
  p.update();
  EXPECT_EQ(p.vx, -1.0);
  EXPECT_EQ(p.vy, 0.0);
  EXPECT_EQ(p.secondary_trigger, 1);
  EXPECT_EQ(p.aim_y, -1.0);
}

}  // namespace

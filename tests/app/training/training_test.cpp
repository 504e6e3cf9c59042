// Training: what steers the dummy, player 1's input column, and the session's
// own frame work (position reset, health refill, the dummy's actions).
#include <gtest/gtest.h>

#include "app/fight/fight_scene.h"
#include "app/fight/fight_setup.h"
#include "app/training/dummy_control.h"
#include "app/training/input_display.h"
#include "app/training/training_session.h"

namespace {

TEST(DummyControl, EachBehaviourHoldsItsActionsAndARecordingPlaysBackLooped) {
  dummy_control d;
  d.behaviour = dummy_behaviour::block_all;
  EXPECT_EQ(action_left, d.actions(1, action_punch));  // facing right, guarding is holding left
  EXPECT_EQ(action_right, d.actions(0, 0));
  d.behaviour = dummy_behaviour::block_after_hit;
  EXPECT_EQ(0, d.actions(1, 0));
  d.struck = true;
  EXPECT_EQ(action_left, d.actions(1, 0));
  d.behaviour = dummy_behaviour::crouch;
  EXPECT_EQ(action_down, d.actions(1, 0));
  d.behaviour = dummy_behaviour::jump;
  EXPECT_EQ(action_up, d.actions(1, 0));

  // Recording: the dummy does what player 1 holds, kept, until the limit.
  d.record_limit = 3;
  d.start_recording();
  const player_actions played[] = {action_up, action_kick, action_right};
  for (player_actions a : played) EXPECT_EQ(a, d.actions(1, a));
  EXPECT_FALSE(d.recording);
  EXPECT_EQ(action_up, d.actions(1, action_punch));  // full: back to its behaviour, jumping
  ASSERT_TRUE(d.start_playback());
  for (int round = 0; round < 2; ++round) {
    for (player_actions a : played) EXPECT_EQ(a, d.actions(0, action_punch)) << "round " << round;
  }
}

TEST(DummyControl, TheMenuCyclesThroughTheComputerLevelsAndSkipsAnEmptyRecording) {
  dummy_control d;
  std::vector<std::string> seen;
  for (int i = 0; i < 12; ++i) {
    d.cycle(1);
    seen.push_back(dummy_behaviour_name(d.behaviour, d.computer_level));
  }
  const std::vector<std::string> expected = {
      "Crouch", "Jump", "Block everything", "Block after the first hit", "Computer level 1", "Computer level 2",
      "Computer level 3", "Computer level 4", "Computer level 5", "Stand", "Crouch", "Jump"};
  EXPECT_EQ(expected, seen);
  d.behaviour = dummy_behaviour::stand;
  d.cycle(-1);
  EXPECT_EQ("Computer level 5", std::string(dummy_behaviour_name(d.behaviour, d.computer_level)));
  d.recorded = {action_up};
  d.behaviour = dummy_behaviour::stand;
  d.cycle(-1);
  EXPECT_EQ(dummy_behaviour::playback, d.behaviour);
}

TEST(InputDisplay, KeepsTheLastSixteenChangesWithTheFramesEachWasHeldNewestFirst) {
  input_display shown;
  shown.note(action_right);
  shown.note(action_right | action_x_half);  // a stick's band is not a change
  shown.note(action_right | action_punch);
  shown.note_combo("Special move");
  ASSERT_EQ(2u, shown.inputs.size());
  EXPECT_EQ("R+P", input_label(shown.inputs[0].held));
  EXPECT_EQ("Special move", shown.inputs[0].combo);
  EXPECT_EQ(2, shown.inputs[1].frames);
  EXPECT_EQ("", shown.inputs[1].combo);
  for (int i = 0; i < 40; ++i) shown.note(i % 2 ? action_kick : 0);
  EXPECT_EQ(input_display::shown, shown.inputs.size());
  EXPECT_EQ("K", input_label(shown.inputs[0].held));
  EXPECT_EQ("-", input_label(shown.inputs[1].held));
}

class TrainingSession : public fight_scene {
 protected:
  training_request request() const {
    training_request r;
    r.on = true;
    r.fighter = r.dummy = -1;  // nothing to measure: the fighters are made here
    r.fps = 10;
    return r;
  }
  void frame(training_session& t) {
    frame_actions held;
    t.take_inputs(held);
    t.step();
  }
};

// The fight as training started comes back: nothing of the frame before the
// reset survives it but the place chosen.
TEST_F(TrainingSession, BackspaceResetsBothFightersInOneFrameCyclingCentreAndCorners) {
  lifeform& dummy = fighter(300, 0);
  lifeform& player = fighter(900, 1);
  training_session t(request());
  const int centre[2] = {fight_start_x(0), fight_start_x(1)};
  for (int spot = 0; spot < 3; ++spot) {
    dummy.hp = 3;
    player.hp = 50;
    player.x = 1200;
    player.y = 100;
    ASSERT_TRUE(player.start_move(slot_kick, action_attack));
    ASSERT_TRUE(dummy.start_move(slot_punch, action_attack));
    player.path->recognizer.attempts.push_back(combo_attempt{});  // a combo half entered
    enlist_projectile(std::make_unique<lifeform>());
    press(SDLK_BACKSPACE);
    frame(t);
    release(SDLK_BACKSPACE);
    SCOPED_TRACE(spot);
    EXPECT_EQ(dummy.max_hp, dummy.hp);
    EXPECT_EQ(player.max_hp, player.hp);
    EXPECT_EQ(2u, lifeform_list.size());  // no projectiles
    EXPECT_TRUE(!player.anim_stack || player.anim_stack->empty());
    EXPECT_TRUE(!dummy.anim_stack || dummy.anim_stack->empty());
    EXPECT_EQ(action_none, player.action);
    EXPECT_TRUE(player.path->recognizer.attempts.empty());
    EXPECT_EQ(480 - player.height, player.y);
    if (spot == 0) {
      EXPECT_EQ(centre[0], dummy.x);
      EXPECT_EQ(centre[1], player.x);
    } else if (spot == 1) {
      EXPECT_EQ(0, dummy.x);
      EXPECT_GT(player.x, dummy.x + dummy.width);
    } else {
      EXPECT_EQ(1600 - dummy.width, dummy.x);
      EXPECT_LT(player.x + player.width, dummy.x);
    }
    frame(t);  // held, not pressed again: no second reset
    EXPECT_EQ(spot + 1, t.resets);
  }
}

TEST_F(TrainingSession, HealthComesBackASecondAfterTheLastBlowAndNobodyFalls) {
  lifeform& dummy = fighter(300, 0);
  fighter(900, 1);
  training_session t(request());  // 10 frames a second
  dummy.hp = -20;
  frame(t);
  EXPECT_EQ(0, dummy.hp);
  for (int f = 1; f < 10; ++f) frame(t);
  EXPECT_EQ(0, dummy.hp) << "refilled before a second had passed";
  frame(t);
  EXPECT_EQ(dummy.max_hp, dummy.hp);

  t.refill = false;
  dummy.hp = 50;
  for (int f = 0; f < 30; ++f) frame(t);
  EXPECT_EQ(50, dummy.hp);
}

TEST_F(TrainingSession, TheDummyBlocksAfterTheFirstHitUntilTheComboIsOver) {
  lifeform& dummy = fighter(300, 0);
  fighter(900, 1);
  dummy.facing = 1;
  training_session t(request());
  t.dummy.behaviour = dummy_behaviour::block_after_hit;
  frame_actions held;
  t.take_inputs(held);
  EXPECT_EQ(0, held.player[1]);
  dummy.hp -= 10;
  t.step();
  held = frame_actions{};
  t.take_inputs(held);
  EXPECT_EQ(action_left, held.player[1]);
  for (int f = 0; f < 10; ++f) frame(t);
  held = frame_actions{};
  t.take_inputs(held);
  EXPECT_EQ(0, held.player[1]) << "still guarding a second after the combo";
}

TEST_F(TrainingSession, WhileRecordingPlayerOnesKeysSteerTheDummyNotTheirFighter) {
  fighter(300, 0);
  fighter(900, 1);
  training_session t(request());
  press(SDLK_F5);
  frame(t);
  release(SDLK_F5);
  ASSERT_TRUE(t.dummy.recording);
  frame_actions held;
  held.player[0] = action_up | action_kick;
  t.take_inputs(held);
  EXPECT_EQ(0, held.player[0]);
  EXPECT_EQ(action_up | action_kick, held.player[1]);
}

}  // namespace

namespace {

TEST_F(TrainingSession, NamesTheLastAttackStartedAndTheComboBesideTheInputThatEndedIt) {
  lifeform& dummy = fighter(300, 0);
  lifeform& player = fighter(900, 1);
  training_session t(request());
  frame(t);
  t.draw_overlay();
  EXPECT_EQ(-1, t.last_attacker);
  ASSERT_TRUE(player.start_move(slot_kick, action_attack));
  t.draw_overlay();
  EXPECT_EQ(1, t.last_attacker);
  EXPECT_EQ(slot_kick, t.last_attack_slot);
  ASSERT_TRUE(dummy.start_move(slot_crouch_punch, action_attack));
  t.draw_overlay();
  EXPECT_EQ(0, t.last_attacker);
  EXPECT_EQ(slot_crouch_punch, t.last_attack_slot);
  // The player's kick again, restarted as a combo restarts a move (the stack
  // cleared, then made afresh, maybe where it was): a new attack all the same.
  player.advance(muted_frame_effects());
  t.draw_overlay();
  EXPECT_EQ(0, t.last_attacker);
  player.clear_anim_stack();
  ASSERT_TRUE(player.start_move(slot_kick, action_attack));
  t.draw_overlay();
  EXPECT_EQ(1, t.last_attacker);
  // A hit reaction is no attack.
  ASSERT_TRUE(player.start_move(slot_punch, action_hit));
  t.draw_overlay();
  EXPECT_EQ(slot_kick, t.last_attack_slot);

  player.combo_shown = 2;
  player.combo_shown_until = 7000;
  t.draw_overlay();
  t.draw_overlay();  // shown for a while: named once
  frame(t);
  ASSERT_GE(t.inputs.inputs.size(), 1u);
  EXPECT_EQ("Special move", t.inputs.inputs[0].combo);
}

}  // namespace

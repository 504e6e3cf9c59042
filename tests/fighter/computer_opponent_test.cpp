// The computer opponent (path mode 6) with a scripted random source.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/seams.h"
#include "fighter/lifeform.h"
#include "fighter/path.h"
#include "stage/level.h"
#include "support/test_env.h"

namespace {

std::vector<int> rolls;
size_t next_roll = 0;
int scripted_rand() { return next_roll < rolls.size() ? rolls[next_roll++] : 0; }
Uint32 fake_ticks() { return 5000; }

class ComputerOpponent : public ::testing::Test {
 protected:
  void SetUp() override {
    ensure_video();
    use_scripted_keys();
    std::memset(scripted_keys(), 0, SDLK_LAST);
    seams().random = scripted_rand;
    seams().ticks = fake_ticks;
    saved_level = g_level;
    stage.max_width = 1000;
    g_level = &stage;
    saved_list = lifeform_list;
    lifeform_list = {&me, &them};
    p.add_step(mode_computer);
    const int weights[6] = {50, 25, 30, 25, 25, 50};
    std::copy(weights, weights + 6, p.ai_weights);
    p.facing = 1;
    p.target = 1;
    p.x = 100;
  }
  void TearDown() override {
    lifeform_list = saved_list;
    g_level = saved_level;
    reset_seams();
  }
  // One update with the given draws; returns the log.
  std::string decide(std::initializer_list<int> draws) {
    rolls = draws;
    next_roll = 0;
    p.vx = p.vy = 0.0;
    return capture_stdout([&] { p.update(); });
  }

  level stage;
  level* saved_level = nullptr;
  std::vector<lifeform*> saved_list;
  lifeform me, them;
  path p;
};

TEST_F(ComputerOpponent, FreshDecisionBoundsAreInclusive) {
  them.x = 900;  // far: decision 1 approaches
  struct cut {
    int roll;
    int decision;
  };
  const cut cuts[] = {{0, 0}, {50, 0}, {51, 1}, {100, 1}, {101, 2}, {125, 2}, {126, 3},
                      {150, 3}, {151, 4}, {250, 4}, {251, 5}, {299, 5}};
  for (const cut& c : cuts) {
    p.ai_decision = -1;
    std::string out = decide({0, c.roll, 0});
    char expected[128];
    std::snprintf(expected, sizeof expected, "max[300] smode[%d]\nAI Selects [%d/300] [50-100-125-150-250]=[%d]\n",
                  c.roll, c.roll, c.decision);
    EXPECT_EQ(out, expected);
    // special lasts one frame, then the next frame decides afresh
    EXPECT_EQ(p.ai_decision, c.decision == 4 ? -1 : c.decision) << "roll " << c.roll;
  }
}

TEST_F(ComputerOpponent, DecisionsTurnIntoRequests) {
  them.x = 900;
  p.ai_decision = -1;
  decide({0, 50});
  EXPECT_EQ(p.vx, -1.0);  // blocking: step away
  decide({0});
  EXPECT_EQ(p.vx, -1.0);  // kept without a change of mind
  p.ai_decision = -1;
  decide({0, 51});
  EXPECT_EQ(p.vx, 1.0);  // approaching
  p.facing = 0;
  decide({0});
  EXPECT_EQ(p.vx, -1.0);
  p.ai_decision = 0;
  decide({0});
  EXPECT_EQ(p.vx, 1.0);  // facing left, blocking steps right
  p.ai_decision = 3;
  decide({0});
  EXPECT_EQ(p.vy, 1.0);
  p.ai_decision = 5;
  p.primary_trigger = 4;
  decide({0});
  EXPECT_EQ(p.primary_trigger, -1);
  EXPECT_EQ(p.vx, 0.0);
}

TEST_F(ComputerOpponent, RangeTestIsStrictlyLess) {
  p.ai_decision = 1;
  them.x = 300;  // 200 away; the limit is 30% of 1000
  decide({0, 1});
  EXPECT_EQ(p.primary_trigger, 3);  // rand() % 4 == 1: kick
  EXPECT_EQ(p.aim_y, -1.0);
  EXPECT_EQ(p.vx, 0.0);
  decide({0, 2});
  EXPECT_EQ(p.primary_trigger, 0);  // 2: punch
  them.x = 400;  // exactly 300 away
  decide({0});
  EXPECT_EQ(p.primary_trigger, -1);
  EXPECT_EQ(p.vx, 1.0);
  them.x = -200;  // the distance is absolute
  decide({0});
  EXPECT_EQ(p.vx, 1.0);
}

TEST_F(ComputerOpponent, ATargetOutsideTheListIsNeverRead) {
  p.ai_decision = 1;
  p.target = 7;
  decide({0});
  EXPECT_EQ(p.vx, 1.0);
  p.target = -1;
  decide({0});
  EXPECT_EQ(p.vx, 1.0);
}

TEST_F(ComputerOpponent, ChangeOfMindAndJumpFollowUp) {
  p.ai_decision = 0;
  std::string out = decide({96, 101});
  EXPECT_EQ(out.rfind("AI Changing mind\n", 0), 0u);
  EXPECT_EQ(p.ai_decision, 2);
  EXPECT_EQ(p.vy, -1.0);
  out = decide({95, 101});  // 95 is no change of mind; the jump follows up
  EXPECT_EQ(out, "Jump AI Selects [101/200] [50-100]=[-2]\n");
  EXPECT_EQ(p.ai_decision, -2);
  out = decide({0, 100});
  EXPECT_EQ(out, "Jump AI Selects [100/200] [50-100]=[1]\n");
  EXPECT_EQ(p.ai_decision, 1);
}

TEST_F(ComputerOpponent, SpecialHandsOverAFinishedCombo) {
  std::vector<combo> combos(2);
  combos[0].combotype = 2;
  combos[1].combotype = 3;
  combos[1].steps.resize(3);
  capture_stdout([&] { p.recognizer.import(&combos); });
  p.ai_decision = -1;
  decide({0, 200, 1});  // special, combo 1
  EXPECT_EQ(p.ai_decision, -1);
  EXPECT_EQ(p.recognizer.poll(), 3);
  EXPECT_EQ(p.recognizer.poll(), -1);
}

TEST_F(ComputerOpponent, SpecialWithoutCombosAddsNothing) {
  p.ai_decision = -1;
  decide({0, 200});
  EXPECT_TRUE(p.recognizer.attempts.empty());
  EXPECT_EQ(p.ai_decision, -1);
}

}  // namespace

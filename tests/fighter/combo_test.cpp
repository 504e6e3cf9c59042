// Combo recognition driven by a player's actions and the tick seam; the combos
// are spelled with the keys of the control maps, each standing for an action.
#include <SDL.h>
#include <gtest/gtest.h>

#include "core/seams.h"
#include "fighter/combo.h"
#include "fighter/control.h"
#include "fighter/player_actions.h"
#include "support/test_env.h"

namespace {

Uint32 fake_now = 0;
Uint32 fake_ticks() { return fake_now; }

control make_control(const char* name, int key, int state) {
  control c(name, 1, 1000);
  c.add_pair(key, state);
  return c;
}

// The human's map as the fight builds it, for the names the tests use.
struct first_map {
  control up = make_control("p1_up", SDLK_UP, 1);
  control down = make_control("p1_down", SDLK_DOWN, 1);
  control right = make_control("p1_right", SDLK_RIGHT, 1);
  control punch = make_control("p1_punch", SDLK_i, 1);
  control kick = make_control("p1_kick", SDLK_k, 1);
  control left;
  first_map() : left("p1_left", 1, 1000) {
    left.add_pair(SDLK_DOWN, 0);
    left.add_pair(SDLK_LEFT, 1);
  }
};

combo make_combo(int type, std::initializer_list<const control*> steps) {
  combo c;
  c.combotype = type;
  for (const control* s : steps) c.steps.push_back(*s);
  return c;
}

class Combo : public ::testing::Test {
 protected:
  void SetUp() override {
    held = 0;
    fake_now = 1000;
    seams().ticks = fake_ticks;
  }
  void TearDown() override { reset_seams(); }

  // One frame as the fight runs it: sample at path update, then poll.
  int frame(combo_recognizer& r, Uint32 t) {
    fake_now = t;
    r.sample(held);
    return r.poll();
  }
  // Frames every 16 ms from `from` up to `to`; returns the first report, or -1.
  int run(combo_recognizer& r, Uint32 from, Uint32 to) {
    int seen = -1;
    for (Uint32 t = from; t <= to; t += 16) {
      int got = frame(r, t);
      if (got != -1 && seen == -1) seen = got;
    }
    return seen;
  }
  // The action the map's key `k` stands for, held or let go.
  void key(int k, int down) {
    const player_actions a = action_of_combo_key(k);
    held = static_cast<player_actions>(down ? held | a : held & ~a);
  }

  player_actions held = 0;

  first_map map;
};

TEST_F(Combo, NothingImportedWatchesNothingAndNeverReports) {
  combo_recognizer r;
  std::vector<combo> none;
  capture_stdout([&] { r.import(&none); });
  key(SDLK_DOWN, 1);
  EXPECT_EQ(r.sample(held), 0);
  EXPECT_TRUE(r.history.empty());
  EXPECT_EQ(r.poll(), -1);
}

TEST_F(Combo, DownRightPunchReportedOnThePollAfterThePunch) {
  std::vector<combo> combos{make_combo(2, {&map.down, &map.right, &map.punch})};
  combo_recognizer r;
  capture_stdout([&] { r.import(&combos); });

  EXPECT_EQ(run(r, 1000, 1100), -1);  // keys start up: release events only
  key(SDLK_DOWN, 1);
  EXPECT_EQ(run(r, 1116, 1196), -1);
  key(SDLK_DOWN, 0);
  EXPECT_EQ(run(r, 1212, 1500), -1);
  key(SDLK_RIGHT, 1);                  // 300 ms after releasing down
  EXPECT_EQ(run(r, 1516, 1596), -1);
  key(SDLK_RIGHT, 0);
  EXPECT_EQ(run(r, 1612, 1884), -1);
  key(SDLK_i, 1);                      // about 300 ms later
  EXPECT_EQ(frame(r, 1900), -1);       // the punch is seen here...
  EXPECT_EQ(frame(r, 1916), 2);        // ...and reported by the next poll
  EXPECT_EQ(frame(r, 1932), -1);       // once
}

TEST_F(Combo, AStepASecondLateIsNotReported) {
  std::vector<combo> combos{make_combo(2, {&map.down, &map.right})};
  combo_recognizer r;
  capture_stdout([&] { r.import(&combos); });
  frame(r, 1000);
  key(SDLK_DOWN, 1);
  frame(r, 1100);             // attempt starts
  frame(r, 1102);             // down held: step 0 matched at 1102
  key(SDLK_DOWN, 0);
  frame(r, 1150);
  EXPECT_EQ(run(r, 1200, 2096), -1);
  key(SDLK_RIGHT, 1);         // exactly 1000 ms after the match: the window is exclusive
  EXPECT_EQ(frame(r, 2102), -1);
  EXPECT_EQ(r.poll(), -1);    // a match would be reported here, before the deadline passes
  EXPECT_EQ(run(r, 2118, 2300), -1);
}

TEST_F(Combo, AStepJustInsideTheWindowIsReported) {
  std::vector<combo> combos{make_combo(5, {&map.down, &map.right})};
  combo_recognizer r;
  capture_stdout([&] { r.import(&combos); });
  frame(r, 1000);
  key(SDLK_DOWN, 1);
  frame(r, 1100);
  frame(r, 1102);  // matched at 1102
  key(SDLK_DOWN, 0);
  frame(r, 1150);
  key(SDLK_RIGHT, 1);
  EXPECT_EQ(frame(r, 2101), -1);  // 999 ms after the match: seen
  EXPECT_EQ(frame(r, 2101), 5);
}

TEST_F(Combo, AComboStartingWithLeftNeverCompletesFromKeys) {
  std::vector<combo> combos{make_combo(3, {&map.left, &map.right})};
  combo_recognizer r;
  capture_stdout([&] { r.import(&combos); });
  int seen = -1;
  Uint32 t = 1000;
  for (int round = 0; round < 4; ++round) {
    key(SDLK_DOWN, round % 2);
    key(SDLK_LEFT, 1);
    for (int i = 0; i < 10; ++i, t += 16) seen = std::max(seen, frame(r, t));
    key(SDLK_LEFT, 0);
    key(SDLK_RIGHT, 1);
    for (int i = 0; i < 10; ++i, t += 16) seen = std::max(seen, frame(r, t));
    key(SDLK_RIGHT, 0);
  }
  EXPECT_EQ(seen, -1);
  EXPECT_TRUE(r.attempts.empty());
}

TEST_F(Combo, HoldingAKeyCountsAsSeeingItNow) {
  std::vector<combo> combos{make_combo(2, {&map.down, &map.punch})};
  combo_recognizer r;
  capture_stdout([&] { r.import(&combos); });
  frame(r, 1000);
  key(SDLK_DOWN, 1);
  EXPECT_EQ(run(r, 1100, 1500), -1);  // down stays held throughout
  key(SDLK_i, 1);
  EXPECT_EQ(frame(r, 1600), -1);
  EXPECT_EQ(frame(r, 1616), 2);
}

TEST_F(Combo, TwoCompletionsInOneFrameComeOutOldestFirst) {
  std::vector<combo> combos{make_combo(1, {&map.down, &map.punch}), make_combo(4, {&map.down, &map.kick})};
  combo_recognizer r;
  capture_stdout([&] { r.import(&combos); });
  frame(r, 1000);
  key(SDLK_DOWN, 1);
  frame(r, 1100);
  frame(r, 1116);
  key(SDLK_i, 1);
  key(SDLK_k, 1);
  EXPECT_EQ(frame(r, 1300), -1);  // both attempts complete in this poll
  EXPECT_EQ(frame(r, 1316), 1);
  EXPECT_EQ(frame(r, 1332), 4);
  EXPECT_EQ(frame(r, 1348), -1);
}

// Blocking (RIGHT held) starts an attempt of "right, down, kick" whose second
// step is still open when the player presses RIGHT again to begin the combo.
TEST_F(Combo, OneEntryAfterHoldingItsFirstKeyIsReportedOnce) {
  std::vector<combo> combos{make_combo(1, {&map.down, &map.up}), make_combo(2, {&map.right, &map.down, &map.kick}),
                            make_combo(3, {&map.down, &map.punch, &map.right})};
  combo_recognizer r;
  capture_stdout([&] { r.import(&combos); });
  // Key changes (ms, key, held): a 0.8 s block, then the entry, then a second
  // entry well after the first.
  struct change { Uint32 t; int key, held; };
  const change timeline[] = {
      {1000, SDLK_RIGHT, 1}, {1800, SDLK_RIGHT, 0}, {1850, SDLK_RIGHT, 1}, {1900, SDLK_RIGHT, 0},
      {1950, SDLK_DOWN, 1},  {2000, SDLK_DOWN, 0},  {2050, SDLK_k, 1},     {2100, SDLK_k, 0},
      {4000, SDLK_RIGHT, 1}, {4050, SDLK_RIGHT, 0}, {4100, SDLK_DOWN, 1},  {4150, SDLK_DOWN, 0},
      {4200, SDLK_k, 1},     {4250, SDLK_k, 0}};
  std::vector<Uint32> specials;
  size_t next = 0;
  for (Uint32 t = 800; t < 6000; t += 16) {
    for (; next < sizeof timeline / sizeof timeline[0] && timeline[next].t <= t; ++next)
      key(timeline[next].key, timeline[next].held);
    if (frame(r, t) == 2) specials.push_back(t);
  }
  ASSERT_EQ(2u, specials.size());
  EXPECT_LT(specials[0], 2200u);
  EXPECT_GT(specials[1], 4200u);
}

TEST_F(Combo, AFinishedAttemptIsReportedByTheNextPoll) {
  // The way the computer opponent performs a combo.
  std::vector<combo> combos{make_combo(7, {&map.down, &map.right, &map.punch})};
  combo_recognizer r;
  capture_stdout([&] { r.import(&combos); });
  frame(r, 1000);
  fake_now = 1016;
  r.sample(held);
  r.add_attempt(combo_attempt{&combos[0], combos[0].reqkeys(), game_ticks() + 1, 0});
  EXPECT_EQ(r.poll(), 7);
  EXPECT_EQ(r.poll(), -1);
  EXPECT_TRUE(r.attempts.empty());
}

TEST_F(Combo, HistoryKeepsOnlyMaxkeepMilliseconds) {
  std::vector<combo> combos{make_combo(2, {&map.down})};
  combo_recognizer r;
  capture_stdout([&] { r.import(&combos); });
  ASSERT_EQ(r.maxkeep, 1000u);
  frame(r, 100);  // DOWN release event at 100 (now - maxkeep "negative": kept)
  EXPECT_EQ(r.history.size(), 1u);
  key(SDLK_DOWN, 1);
  frame(r, 1100);  // 100 is not older than 1100 - 1000
  EXPECT_EQ(r.history.size(), 2u);
  frame(r, 1101);
  ASSERT_EQ(r.history.size(), 1u);
  EXPECT_EQ(r.history[0].time, 1100u);
}

TEST_F(Combo, ImportNarratesAndRaisesMaxkeepOnce) {
  combo c3 = make_combo(2, {&map.down, &map.right, &map.punch});
  combo c2 = make_combo(1, {&map.left, &map.up});
  std::vector<combo> combos{c3, c2};
  combo_recognizer r;
  std::string out = capture_stdout([&] { r.import(&combos); });
  EXPECT_EQ(out,
            "Getting ready to import combos\n"
            "Importing combo\n"
            "Press: [274/1],  between [1]-[1000] to advance\n"
            "Press: [275/1],  between [1]-[1000] to advance\n"
            "Press: [105/1],  between [1]-[1000] to advance\n"
            "Move Complete\n"
            "Combo time[3-3000] for move [2]\n"
            "Update maxkeep from [0] to [3000]\n"
            "Importing combo\n"
            "Press: [274/0], [276/1],  between [1]-[1000] to advance\n"
            "Press: [273/1],  between [1]-[1000] to advance\n"
            "Move Complete\n"
            "Combo time[2-2000] for move [1]\n");
  EXPECT_EQ(r.maxkeep, 3000u);
  EXPECT_EQ(combos[0].max_total, 3000u);
  EXPECT_EQ(combos[1].min_total, 2);
  // First mention sets the starting state: DOWN was first named pressed.
  ASSERT_EQ(r.watched.size(), 5u);
  EXPECT_EQ(r.watched[0].key, SDLK_DOWN);
  EXPECT_EQ(r.watched[0].last_state, 1);
  EXPECT_EQ(r.watched[3].key, SDLK_LEFT);
}

TEST_F(Combo, FirstSampleReleasesKeysFirstNamedPressed) {
  std::vector<combo> combos{make_combo(2, {&map.down, &map.punch})};
  combo_recognizer r;
  capture_stdout([&] { r.import(&combos); });
  EXPECT_EQ(r.sample(held), 2);
  ASSERT_EQ(r.history.size(), 2u);
  EXPECT_EQ(r.history[0].state, 0);
  EXPECT_EQ(r.sample(held), 0);
}

}  // namespace

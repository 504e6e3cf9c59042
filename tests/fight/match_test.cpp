// The match's bookkeeping (rounds, clock, results, log lines) and the menu's
// key handling, without a window.
#include "fight/match.h"

#include <gtest/gtest.h>

#include "app/fight/match_driver.h"
#include "app/fight/menu.h"
#include "fighter/lifeform.h"
#include "fighter/path.h"
#include "app/replay/replay_format.h"
#include "support/test_env.h"

namespace {

match_rules rules(int rounds, int round_time, int fps = 10) {
  match_rules r;
  r.rounds = rounds;
  r.round_time = round_time;
  r.fps = fps;
  return r;
}

// Runs frames with the given health until the phase changes; returns the log.
std::string run_until_phase_changes(match_state& m, fighter_health h0, fighter_health h1, int limit = 100000) {
  const fighter_health h[2] = {h0, h1};
  const match_phase start = m.phase;
  return capture_stdout([&] {
    for (int i = 0; i < limit && m.phase == start; ++i) m.advance(h);
  });
}

const fighter_health full{100, 100};

TEST(Match, KnockOutsWinRoundsUntilTheMatchIsWon) {
  match_state m(rules(2, 0));
  EXPECT_EQ("round [1] begins\n", capture_stdout([&] { m.start_match(); }));
  const fighter_health h[2] = {full, full};
  int intro = 0;
  EXPECT_EQ("", capture_stdout([&] {
    while (m.phase == match_phase::intro && intro < 1000) {
      m.advance(h);
      ++intro;
    }
  }));
  EXPECT_EQ(10, intro);  // one second at 10 frames a second
  EXPECT_EQ(match_phase::fighting, m.phase);
  // Entry 1 falls: entry 0 takes the round; the K.O. shows two seconds.
  EXPECT_EQ("round [1] won by entry [0]\n", run_until_phase_changes(m, full, {-1, 100}));
  EXPECT_FALSE(m.by_time);
  EXPECT_EQ(0, m.round_winner);
  EXPECT_EQ("round [2] begins\n", run_until_phase_changes(m, full, {-1, 100}));
  EXPECT_EQ(2, m.round);
  run_until_phase_changes(m, full, full);
  EXPECT_EQ("round [2] won by entry [0]\n", run_until_phase_changes(m, {50, 100}, {-5, 100}));
  EXPECT_EQ("match won by entry [0]\n", run_until_phase_changes(m, full, full));
  EXPECT_EQ(match_phase::result, m.phase);
  EXPECT_EQ(0, m.match_winner);
  EXPECT_EQ(2, m.wins[0]);
  EXPECT_EQ(0, m.wins[1]);
  // A rematch starts from nothing.
  EXPECT_EQ("round [1] begins\n", capture_stdout([&] { m.start_match(); }));
  EXPECT_EQ(0, m.wins[0]);
  EXPECT_EQ(-1, m.match_winner);
}

// A drawn round scores for both: a match of draws ends drawn, and a draw
// that takes only one fighter to the rounds needed wins it the match.
TEST(Match, DrawnRoundsCountForBothAndEndAMatchOfDrawsDrawn) {
  match_state m(rules(2, 10));
  capture_stdout([&] { m.start_match(); });
  run_until_phase_changes(m, full, full);
  EXPECT_EQ("round [1] drawn\n", run_until_phase_changes(m, {-1, 100}, {-1, 100}));
  EXPECT_EQ("round [2] begins\n", run_until_phase_changes(m, full, full));
  run_until_phase_changes(m, full, full);
  // Equal shares of different maxima: 75/150 and 50/100.
  EXPECT_EQ("round [2] drawn\n", run_until_phase_changes(m, {75, 150}, {50, 100}));
  EXPECT_TRUE(m.by_time);
  EXPECT_EQ("match drawn\n", run_until_phase_changes(m, full, full));
  EXPECT_EQ(match_phase::result, m.phase);
  EXPECT_TRUE(m.match_drawn);
  EXPECT_EQ(-1, m.match_winner);
  capture_stdout([&] { m.start_match(); });
  EXPECT_FALSE(m.match_drawn);

  run_until_phase_changes(m, full, full);
  run_until_phase_changes(m, full, {-1, 100});
  run_until_phase_changes(m, full, full);  // round 2 begins, 1 to 0
  run_until_phase_changes(m, full, full);
  run_until_phase_changes(m, {-1, 100}, {-1, 100});
  EXPECT_EQ("match won by entry [0]\n", run_until_phase_changes(m, full, full));
  EXPECT_FALSE(m.match_drawn);
}

TEST(Match, TheClockRunsTheRoundTimeThenTheLargerShareWins) {
  match_state m(rules(1, 10, 20));
  capture_stdout([&] { m.start_match(); });
  run_until_phase_changes(m, full, full);
  EXPECT_EQ(10, m.clock_seconds());
  const fighter_health h[2] = {{60, 150}, {41, 100}};  // 0.4 against 0.41
  int frames = 0;
  std::string log = capture_stdout([&] {
    while (m.phase == match_phase::fighting) {
      m.advance(h);
      ++frames;
    }
  });
  EXPECT_EQ(200, frames);  // ten seconds at 20 frames a second
  EXPECT_EQ("round [1] won by entry [1]\n", log);
  EXPECT_TRUE(m.by_time);
  EXPECT_EQ(0, m.clock_seconds());
  EXPECT_EQ("match won by entry [1]\n", run_until_phase_changes(m, full, full));
}

TEST(Match, LargerHealthShareComparesSharesNotPoints) {
  const fighter_health a[2] = {{100, 200}, {60, 100}};
  EXPECT_EQ(1, larger_health_share(a));
  const fighter_health b[2] = {{0, 100}, {-3, 100}};  // below 0 counts as 0
  EXPECT_EQ(-1, larger_health_share(b));
  const fighter_health c[2] = {{80, 100}, {100, 200}};  // 0.8 against 0.5: fewer points, larger share
  EXPECT_EQ(0, larger_health_share(c));
}

menu_keys held(bool up, bool down, bool confirm, bool escape) {
  menu_keys k;
  k.held[menu_up] = up;
  k.held[menu_down] = down;
  k.held[menu_confirm] = confirm;
  k.held[menu_escape] = escape;
  return k;
}

TEST(Menu, KeysActOnPressesWrapAndIgnoreWhatWasHeldAtOpening) {
  menu m;
  m.open({"Rematch", "Character select", "Quit"}, held(false, false, true, false));
  // RETURN held since before the menu opened chooses nothing.
  EXPECT_EQ(menu_nothing, m.apply(held(false, false, true, false)));
  EXPECT_EQ(menu_nothing, m.apply(held(false, false, false, false)));
  EXPECT_EQ(menu_nothing, m.apply(held(true, false, false, false)));  // up from the first: the last
  EXPECT_EQ(2, m.selected);
  EXPECT_EQ(menu_nothing, m.apply(held(true, false, false, false)));  // still held: no repeat
  EXPECT_EQ(2, m.selected);
  EXPECT_EQ(menu_nothing, m.apply(held(false, true, false, false)));  // down from the last: the first
  EXPECT_EQ(0, m.selected);
  EXPECT_EQ(menu_nothing, m.apply(held(false, false, false, false)));
  EXPECT_EQ(menu_nothing, m.apply(held(false, true, false, false)));
  EXPECT_EQ(1, m.apply(held(false, true, true, false)));
  EXPECT_EQ(menu_escaped, m.apply(held(false, false, false, true)));
}

// A menu opened in the middle of play takes nothing during its lock, and a
// key pressed then counts only once pressed again.
TEST(Menu, ALockedMenuTakesNoInputAndKeysPressedDuringItWaitForAFreshPress) {
  EXPECT_EQ(10, menu_lock_frames(20));  // half a second
  menu m;
  m.open({"Rematch", "Quit"}, held(false, false, false, false), 3);
  EXPECT_EQ(menu_nothing, m.apply(held(false, false, true, false)));  // SPACE pressed as it shows
  EXPECT_EQ(menu_nothing, m.apply(held(false, true, false, true)));
  EXPECT_EQ(menu_nothing, m.apply(held(false, false, true, false)));
  EXPECT_FALSE(m.locked());
  EXPECT_EQ(menu_nothing, m.apply(held(false, false, true, false)));  // still held from the lock
  EXPECT_EQ(0, m.selected);
  EXPECT_EQ(menu_nothing, m.apply(held(false, false, false, false)));
  EXPECT_EQ(0, m.apply(held(false, false, true, false)));
}

// Alone against the computer the move list is the player's (entry 1); in a
// two-player match it is the list of the player whose own pause button was
// pressed, in that player's keys, and both under their names after a key
// they share.
TEST(MoveList, ShowsTheListOfThePlayerWhoPausedInTheirKeys) {
  auto one_special = [](int key) {
    auto list = std::make_shared<std::vector<combo>>(1);
    (*list)[0].combotype = 2;
    control step("down", 1, 1000);
    step.add_pair(key, 1);
    (*list)[0].steps.push_back(step);
    return list;
  };
  lifeform first, second;  // entry 1 and entry 0
  first.name = "Kastrell";
  second.name = "Brela";
  first.combos = one_special(SDLK_DOWN);
  second.combos = one_special(SDLK_s);
  path second_keys;
  second_keys.add_step(mode_human);
  second_keys.player = 1;
  const std::vector<lifeform*> saved = lifeform_list;
  lifeform_list = {&second, &first};
  using lines = std::vector<std::string>;
  EXPECT_EQ((lines{"Special move: down"}), match_driver::move_list_lines(match_driver::paused_by_p));
  second.path = &second_keys;
  EXPECT_EQ((lines{"Player 1 (Kastrell)", "Special move: down"}),
            match_driver::move_list_lines(match_driver::paused_by_first_joystick));
  EXPECT_EQ((lines{"Player 2 (Brela)", "Special move: s"}),
            match_driver::move_list_lines(match_driver::paused_by_second_joystick));
  EXPECT_EQ((lines{"Player 1 (Kastrell)", "Special move: down", "Player 2 (Brela)", "Special move: s"}),
            match_driver::move_list_lines(match_driver::paused_by_escape));
  second.path = nullptr;
  lifeform_list = saved;
}

// A replay carries the match keys it was recorded with; one without them
// (recorded before matches) plays one endless fight; push_apart is carried alike.
TEST(Match, ReplayHeadersCarryTheMatchKeysAndOlderOnesHaveNone) {
  replay_header h;
  h.version = replay_format_version;
  h.build = "fight-4";
  h.width = 640;
  h.height = 480;
  h.fps = 60;
  h.rounds = 2;
  h.round_time = 60;
  h.difficulty = 3;
  h.push_apart = 1;
  replay_file with;
  std::string error;
  ASSERT_TRUE(parse_replay(replay_header_text(h) + "10 end\n", with, error)) << error;
  EXPECT_EQ(2, with.header.rounds);
  EXPECT_EQ(60, with.header.round_time);
  EXPECT_EQ(3, with.header.difficulty);
  EXPECT_EQ(1, with.header.push_apart);

  h.rounds = h.round_time = h.difficulty = h.push_apart = 0;
  const std::string old = replay_header_text(h);
  EXPECT_EQ(std::string::npos, old.find("round"));  // byte for byte as before matches
  EXPECT_EQ(std::string::npos, old.find("push_apart"));
  replay_file without;
  ASSERT_TRUE(parse_replay(old + "10 end\n", without, error)) << error;
  EXPECT_EQ(0, without.header.rounds);
  EXPECT_EQ(0, without.header.round_time);
  EXPECT_EQ(0, without.header.difficulty);
  EXPECT_EQ(0, without.header.push_apart);

  replay_file bad;
  EXPECT_FALSE(parse_replay(old + "rounds 10\n10 end\n", bad, error));
  EXPECT_NE(std::string::npos, error.find("rounds")) << error;
  EXPECT_FALSE(parse_replay(old + "push_apart 2\n10 end\n", bad, error));
  EXPECT_NE(std::string::npos, error.find("'push_apart 1'")) << error;
}

}  // namespace

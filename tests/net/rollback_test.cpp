// Two rollback engines playing the toy game through an in-memory link that
// delays, loses, duplicates and reorders packets: both must end with the
// confirmed states a straight run of the same actions gives, with each punch's
// effect playing exactly once, and the faster clock must be slowed rather
// than left to run into the window and wait.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "net/rollback.h"
#include "net/rollback_events.h"
#include "toy_game.h"

namespace {

struct conditions {
  double delay_ms = 0, jitter_ms = 0, loss = 0, duplicate = 0, reorder = 0;
  double clock[2] = {1.0, 1.0};  // frame duration factor of each side's clock
  double ready_ms[2] = {0, 0};   // when each side has loaded the fight and starts its frames
};

// Records which (frame, entry) effects are playing: a stop removes one.
struct effect_log : effect_sink {
  const toy_game* game = nullptr;
  std::map<int, std::pair<int, uint32_t>> playing;  // handle -> (frame, key)
  int next = 0;
  int start_effect(uint32_t key) override {
    playing[next] = {game->state.frame, key};
    return next++;
  }
  void stop_effect(uint32_t, int handle) override { playing.erase(handle); }
  std::multiset<std::pair<int, uint32_t>> live() const {
    std::multiset<std::pair<int, uint32_t>> out;
    for (const auto& p : playing) out.insert(p.second);
    return out;
  }
};

struct side {
  toy_game game;
  effect_log log;
  rollback_events events{log};
  rollback_engine engine;
  double next_frame_ms = 0;
  std::vector<std::pair<double, std::vector<uint8_t>>> inbox;  // arrival time, bytes
  side(int entry, int delay) : engine(game, entry, delay) {
    log.game = &game;
    game.events = &events;
    engine.set_events(&events);
  }
};

struct outcome {
  rollback_stats stats[2];
  int most_apart = 0;
  int most_apart_from_start = 0;  // once both have stepped a frame
  long hashes_compared = 0;
};

constexpr int delay = 2;
constexpr int last_checked_frame = 600;

// Each side's inputs land `delay` frames after it reads them; the toy script
// is written per frame of the game, so frame f holds toy_script(e, f).
outcome play(const conditions& c, unsigned seed) {
  side sides[2] = {side(0, delay), side(1, delay)};
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> unit(0, 1);
  net_decode_counts counts;
  outcome out;
  auto send = [&](int to, double now, const std::vector<uint8_t>& bytes, bool reliable) {
    if (!reliable && unit(rng) < c.loss) return;
    int copies = !reliable && unit(rng) < c.duplicate ? 2 : 1;
    for (int k = 0; k < copies; ++k) {
      double at = now + c.delay_ms + (unit(rng) * 2 - 1) * c.jitter_ms;
      if (!reliable && unit(rng) < c.reorder) at += 30 * unit(rng);
      sides[to].inbox.emplace_back(at, bytes);
    }
  };
  for (int guard = 0; guard < 100000; ++guard) {
    int s = sides[0].next_frame_ms <= sides[1].next_frame_ms ? 0 : 1;
    side& me = sides[s];
    double now = me.next_frame_ms;
    if (now < c.ready_ms[s]) {
      me.next_frame_ms = c.ready_ms[s];
      continue;
    }
    std::stable_sort(me.inbox.begin(), me.inbox.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    while (!me.inbox.empty() && me.inbox.front().first <= now) {
      net_message m;
      if (decode_packet(me.inbox.front().second.data(), me.inbox.front().second.size(), m, counts)) {
        if (m.kind == net_kind::inputs) me.engine.receive(m.inputs);
        if (m.kind == net_kind::state_hash) me.engine.receive_hash(m.state_hash);
      }
      me.inbox.erase(me.inbox.begin());
    }
    me.engine.set_ping(static_cast<int>(2 * c.delay_ms));
    me.engine.advance(toy_script(s, me.engine.frame() + delay));
    send(1 - s, now, encode_inputs(9, me.engine.outgoing()), false);
    net_state_hash h;
    if (me.engine.take_hash(h)) send(1 - s, now, encode_state_hash(9, h), true);
    me.next_frame_ms += 1000.0 / 60 * c.clock[s] * me.engine.frame_time_scale();
    const int apart = std::abs(sides[0].engine.frame() - sides[1].engine.frame());
    if (sides[0].engine.frame() > 0 && sides[1].engine.frame() > 0) {
      out.most_apart_from_start = std::max(out.most_apart_from_start, apart);
    }
    if (sides[0].engine.frame() > 120 && sides[1].engine.frame() > 120) {
      out.most_apart = std::max(out.most_apart, apart);
    }
    uint64_t ignored;
    if (sides[0].engine.local_hash(last_checked_frame, ignored) &&
        sides[1].engine.local_hash(last_checked_frame, ignored) && sides[0].engine.frame() > last_checked_frame + 30 &&
        sides[1].engine.frame() > last_checked_frame + 30) {
      break;
    }
  }
  EXPECT_EQ(counts.malformed + counts.oversized, 0);

  // A straight run of the same actions, the truth both sides must agree with.
  toy_game straight;
  effect_log reference_log;
  rollback_events reference_events(reference_log);
  reference_log.game = &straight;
  straight.events = &reference_events;
  std::map<int, uint64_t> truth;
  for (int f = 0; f < last_checked_frame; ++f) {
    player_actions inputs[2] = {f < delay ? player_actions(0) : toy_script(0, f),
                                f < delay ? player_actions(0) : toy_script(1, f)};
    reference_events.begin_frame(f);
    straight.step(inputs);
    reference_events.end_frame();
    if ((f + 1) % rollback_hash_interval == 0) truth[f + 1] = straight.state_hash();
  }
  for (int s = 0; s < 2; ++s) {
    rollback_engine& e = sides[s].engine;
    EXPECT_EQ(e.desync_frame(), -1) << "side " << s;
    for (const auto& t : truth) {
      uint64_t h = 0;
      EXPECT_TRUE(e.local_hash(t.first, h)) << "side " << s << " frame " << t.first;
      EXPECT_EQ(h, t.second) << "side " << s << " frame " << t.first;
    }
    player_actions both[2];
    EXPECT_TRUE(e.confirmed_inputs(last_checked_frame - 1, both));
    EXPECT_EQ(both[0], toy_script(0, last_checked_frame - 1));
    EXPECT_EQ(both[1], toy_script(1, last_checked_frame - 1));
    // Every effect of the confirmed frames plays once, none that the corrections removed.
    auto live = sides[s].log.live();
    auto wanted = reference_log.live();
    std::multiset<std::pair<int, uint32_t>> live_checked;
    for (const auto& p : live) {
      if (p.first < last_checked_frame) live_checked.insert(p);
    }
    EXPECT_EQ(live_checked, wanted) << "side " << s;
    out.stats[s] = e.stats();
    out.hashes_compared += e.hashes_compared();
  }
  return out;
}

TEST(Rollback, BothSidesConfirmTheStraightRunWithoutDelay) {
  outcome o = play(conditions{}, 1);
  EXPECT_GE(o.hashes_compared, 2 * (last_checked_frame / rollback_hash_interval - 1));
  EXPECT_EQ(o.stats[0].frames_waited + o.stats[1].frames_waited, 0);
}

TEST(Rollback, LatencyAndJitterCostRollbacksButNoWait) {
  conditions c;
  c.delay_ms = 60;
  c.jitter_ms = 10;
  outcome o = play(c, 2);
  EXPECT_GT(o.stats[0].rollbacks + o.stats[1].rollbacks, 0);
  EXPECT_EQ(o.stats[0].frames_waited + o.stats[1].frames_waited, 0);
}

TEST(Rollback, LossDuplicationAndReorderingStillConfirmTheStraightRun) {
  conditions c;
  c.delay_ms = 100;
  c.loss = 0.05;
  c.duplicate = 0.05;
  c.reorder = 0.05;
  for (unsigned seed : {3u, 4u}) {
    outcome o = play(c, seed);
    for (int s = 0; s < 2; ++s) {
      EXPECT_GT(o.stats[s].rollbacks, 0);
      EXPECT_GE(o.stats[s].deepest, 2);
      EXPECT_LE(o.stats[s].deepest, rollback_window);
    }
  }
}

TEST(Rollback, TheFasterClockIsSlowedNotStopped) {
  conditions c;
  c.delay_ms = 30;
  c.clock[0] = 0.97;  // side 0's frames are 3% shorter
  outcome o = play(c, 5);
  EXPECT_LE(o.most_apart, 3);
  EXPECT_LE(o.stats[0].frames_waited, 2);
}

TEST(Rollback, BothSidesStartTogetherHoweverLongEachTookToLoad) {
  conditions c;
  c.delay_ms = 100;
  for (int later : {0, 1}) {
    c.ready_ms[later] = 500;
    c.ready_ms[1 - later] = 0;
    outcome o = play(c, 6);
    EXPECT_LE(o.most_apart_from_start, 2) << "side " << later << " ready last";
    EXPECT_EQ(o.stats[0].frames_waited + o.stats[1].frames_waited, 0) << "side " << later << " ready last";
  }
}

TEST(Rollback, BothSidesSeeTheFirstFrameTheirStatesDiffer) {
  toy_game games[2];
  rollback_engine engines[2] = {rollback_engine(games[0], 0, 2), rollback_engine(games[1], 1, 2)};
  for (int f = 0; f < 3 * rollback_hash_interval + 5; ++f) {
    // From frame 100 on, side 1's game drifts on its own: the next hash, at 120, tells.
    if (f == 100) games[1].state.x[0] += 1;
    for (int s = 0; s < 2; ++s) engines[s].advance(toy_script(s, f + 2));
    for (int s = 0; s < 2; ++s) {
      engines[1 - s].receive(engines[s].outgoing());
      net_state_hash h;
      if (engines[s].take_hash(h)) engines[1 - s].receive_hash(h);
    }
  }
  EXPECT_EQ(engines[0].desync_frame(), 2 * rollback_hash_interval);
  EXPECT_EQ(engines[1].desync_frame(), 2 * rollback_hash_interval);
  EXPECT_GE(engines[0].hashes_compared(), 3);
}

TEST(Rollback, ASideAloneWaitsToStartThenStepsTheWindowThenWaits) {
  toy_game game;
  rollback_engine engine(game, 1, 3);
  // Until the other side is heard from, nothing starts, and nothing counts as waiting.
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(engine.advance(action_right));
  EXPECT_EQ(engine.frame(), 0);
  EXPECT_EQ(engine.stats().frames_waited, 0);
  net_inputs hello;  // a side ready, with no actions yet
  engine.receive(hello);
  for (int i = 0; i < 20; ++i) engine.advance(action_right);
  EXPECT_EQ(engine.frame(), rollback_window);
  EXPECT_EQ(engine.stats().frames_waited, 20 - rollback_window);
  EXPECT_EQ(engine.confirmed_frame(), -1);
  // The other side's first actions free it again; they cover its own delay too.
  net_inputs m;
  m.first_frame = 0;
  m.actions.assign(4, 0);
  m.ack = 2;
  engine.receive(m);
  EXPECT_TRUE(engine.advance(action_right));
  net_inputs sent = engine.outgoing();
  EXPECT_EQ(sent.first_frame, 3u);                   // frames 0..2 acknowledged
  ASSERT_EQ(engine.frame(), rollback_window + 1);
  // Frames 3..11: what it held at each step, landing 3 frames later.
  EXPECT_EQ(sent.actions, std::vector<player_actions>(9, action_right));
  EXPECT_EQ(sent.ack, 3);
}

TEST(Rollback, StatisticsLine) {
  rollback_stats s;
  s.frames = 3600;
  s.rollbacks = 12;
  s.deepest = 4;
  s.frames_waited = 1;
  s.ping_ms = 87;
  EXPECT_EQ(rollback_stats_line(s),
            "NOTICE: online fight over: 3600 frames, 12 rollbacks (deepest 4), 1 frames waited, ping 87 ms");
}

}  // namespace

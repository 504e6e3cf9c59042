// The online fight under a rollback engine whose other side's actions come
// late (1 to 7 frames) and often differ from the prediction: what the player
// hears and reads is the confirmed story. Every sound of a confirmed frame is
// started exactly once and stays; every sound a correction took away was
// stopped; the log lines are those of a straight run of the confirmed actions,
// round endings included, in the same order.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/fight/fight_setup.h"
#include "app/fight/match_driver.h"
#include "app/online/online_fight_game.h"
#include "core/log.h"
#include "core/seams.h"
#include "fight/fight_clock.h"
#include "fight/fight_host.h"
#include "fight/fight_state.h"
#include "fight/fight_step.h"
#include "fight/match.h"
#include "fighter/lifeform.h"
#include "net/rollback.h"
#include "stage/level.h"
#include "support/run_game.h"
#include "support/test_env.h"

namespace {

class screen_host final : public fight_host {
 public:
  bool screen_size(int& w, int& h) const override {
    w = 640;
    h = 480;
    return true;
  }
};

// Each start and whether a stop took it back.
class recording_sink final : public step_sound_sink {
 public:
  struct start {
    int64_t frame;
    uint32_t key;
    bool stopped;
  };
  std::vector<start> starts;
  long stops = 0;
  int start_effect(uint32_t key) override {
    starts.push_back(start{next ? next->frame : -1, key, false});
    return static_cast<int>(starts.size()) - 1;
  }
  void stop_effect(uint32_t key, int handle) override {
    ASSERT_GE(handle, 0);
    ASSERT_LT(handle, static_cast<int>(starts.size()));
    EXPECT_EQ(starts[handle].key, key);
    EXPECT_FALSE(starts[handle].stopped) << "stopped twice";
    starts[handle].stopped = true;
    ++stops;
  }
};

// Hands that press a new combination every 1..`hold` frames, punches and kicks included.
player_actions hands(uint32_t seed, int frame, int hold) {
  uint32_t h = static_cast<uint32_t>(frame / hold) * 2654435761u + seed * 40503u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return static_cast<player_actions>(h & all_player_actions & 0x7f);
}
player_actions remote_hands(int f) { return hands(11, f, 3); }  // entry 0, the other side
player_actions local_hands(int f) { return hands(5, f, 7); }    // entry 1, this side

// The log without the pictures' lines: whether a shot's picture is loaded or
// found depends on what ran before, and drawing the present frame converts
// pictures the straight run never draws; neither is the fight's story.
std::string story(const std::string& log) {
  std::string out;
  for (size_t at = 0, end; at < log.size(); at = end + 1) {
    end = log.find('\n', at);
    if (end == std::string::npos) end = log.size();
    const std::string line = log.substr(at, end - at);
    bool picture = false;
    for (const char* start : {"Loading img_mgr [", "Found in nmanager cache [", "Move image[", "____"}) {
      picture = picture || line.rfind(start, 0) == 0;
    }
    if (!picture) out += line + "\n";
  }
  return out;
}

class OnlineFightGame : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string data = bundled_data_dir();
    if (data.empty()) GTEST_SKIP() << "no bundled data";
    ensure_video();
    ASSERT_NE(getcwd(old_cwd_, sizeof old_cwd_), nullptr);
    ASSERT_EQ(chdir(data.c_str()), 0);
    saved_level_ = g_level;
    g_level = &stage_;
    saved_list_ = lifeform_list;
    lifeform_list.clear();
    set_fight_host(&host_);
    use_recordable_random(77);
    use_fight_clock(60);
    set_fight_frame(0);
    capture_stdout([&] {
      setup_.build_paths(false);
      setup_.build_controls();
      setup_.start_fight(1, 2);
    });
    ASSERT_EQ(lifeform_list.size(), 2u);
    // Short rounds by knock-out: a few blows each.
    for (int k = 0; k < 2; ++k) lifeform_at(k)->hp = lifeform_at(k)->max_hp = 20;
    match_rules rules;
    rules.rounds = 40;  // never decided within the run
    driver_ = std::make_unique<match_driver>(rules);
    content_ = std::make_unique<fight_content>();
  }
  void TearDown() override {
    if (!content_) return;
    driver_.reset();
    content_.reset();
    setup_.release();
    reset_seams();
    set_fight_host(nullptr);
    g_level = saved_level_;
    lifeform_list = saved_list_;
    if (chdir(old_cwd_) != 0) ADD_FAILURE() << "cannot return to " << old_cwd_;
  }

  screen_host host_;
  level stage_;
  fight_setup setup_;
  std::unique_ptr<match_driver> driver_;
  std::unique_ptr<fight_content> content_;
  char old_cwd_[PATH_MAX] = {};
  level* saved_level_ = nullptr;
  std::vector<lifeform*> saved_list_;
};

TEST_F(OnlineFightGame, SoundsAndLogLinesFollowTheConfirmedStory) {
  constexpr int frames = 1500;
  fight_state start;
  ASSERT_TRUE(save_fight_state(start, *content_, &driver_->state));

  // The straight run first, then the online run from the same start.
  std::vector<std::string> lines_of(frames);
  std::vector<std::vector<uint32_t>> sounds_of(frames);
  step_options options;
  options.match = &driver_->state;
  step_events events;
  options.events = &events;
  for (int f = 0; f < frames; ++f) {
    frame_inputs in;
    in.player[0] = local_hands(f);  // entry 1 steers by the first player's actions
    in.player[1] = remote_hands(f);
    set_log_capture(&lines_of[f], nullptr);
    step(in, options);
    set_log_capture(nullptr, nullptr);
    for (int k = 0; k < events.sound_count; ++k) sounds_of[f].push_back(sound_key(events.sounds[k]));
  }

  restore_fight_state(start, *content_, &driver_->state);
  recording_sink sink;
  online_fight_game game(*content_, *driver_, sink);
  game.spoil_frame = -1;
  rollback_engine engine(game, 1, 0);
  engine.set_events(&game.sound_ledger());
  int sent = -1;
  engine.receive(net_inputs{});  // the other side is there: start
  const std::string online_log = capture_stdout([&] {
    for (int i = 0; i < frames; ++i) {
      // The other side's actions arrive 1 to 7 frames late, the lag changing as on a real line.
      const int upto = engine.frame() - 1 - (i / 23) % 7;
      if (upto > sent) {
        net_inputs m;
        m.first_frame = static_cast<uint32_t>(sent + 1);
        for (int f = sent + 1; f <= upto; ++f) m.actions.push_back(remote_hands(f));
        m.ack = engine.frame() - 1;
        m.frame = static_cast<uint32_t>(upto + 1);
        engine.receive(m);
        sent = upto;
      }
      game.present_frame = engine.frame();
      ASSERT_TRUE(engine.advance(local_hands(engine.frame())));
      game.print_confirmed_lines(engine.confirmed_frame());
    }
  });
  const int confirmed = engine.confirmed_frame();
  EXPECT_GT(engine.stats().rollbacks, 100);
  EXPECT_GE(engine.stats().deepest, 6);

  std::string straight_log;
  std::multiset<std::pair<int64_t, uint32_t>> heard;
  for (int f = 0; f <= confirmed; ++f) {
    straight_log += lines_of[f];
    for (uint32_t key : sounds_of[f]) heard.insert({f, key});
  }

  // The rounds ended inside the run, and the log tells them as the straight run does.
  size_t round_ends = 0;
  for (size_t at = straight_log.find(" won by entry ["); at != std::string::npos;
       at = straight_log.find(" won by entry [", at + 1)) {
    ++round_ends;
  }
  EXPECT_GE(round_ends, 3u) << straight_log;
  EXPECT_EQ(story(online_log), story(straight_log));

  // Each confirmed sound started once and kept; the others started and stopped.
  std::multiset<std::pair<int64_t, uint32_t>> kept;
  for (const recording_sink::start& s : sink.starts) {
    if (s.frame <= confirmed && !s.stopped) kept.insert({s.frame, s.key});
  }
  EXPECT_GT(heard.size(), 50u);
  EXPECT_TRUE(kept == heard) << kept.size() << " sounds kept, " << heard.size() << " in the confirmed story";
  EXPECT_GT(sink.stops, 0);
}

}  // namespace

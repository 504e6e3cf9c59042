// A fight put back to an earlier frame plays on exactly as it did: the
// bundled fighters in a match, stepped without drawing, saved, restored and
// stepped again over the same inputs, compared byte for byte every frame.
#include "fight/fight_state.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/fight/fight_setup.h"
#include "core/seams.h"
#include "fight/fight_clock.h"
#include "fight/fight_host.h"
#include "fight/fight_state_hash.h"
#include "fight/fight_step.h"
#include "fight/match.h"
#include "fighter/computer_difficulty.h"
#include "fighter/player_actions.h"
#include "fighter/sound_effect.h"
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

// Actions a player holds, each kept for a few frames as hands do.
class action_script {
 public:
  explicit action_script(uint32_t seed) : state_(seed) {}
  player_actions next(int hold_most) {
    if (held_for_ <= 0) {
      held_ = static_cast<player_actions>(roll() & 0x7f);
      held_for_ = 1 + static_cast<int>(roll() % static_cast<uint32_t>(hold_most));
    }
    --held_for_;
    return held_;
  }

 private:
  uint32_t roll() {
    state_ = state_ * 1103515245u + 12345u;
    return state_ >> 8;
  }
  uint32_t state_;
  player_actions held_ = 0;
  int held_for_ = 0;
};

// The bundled fighters on the bundled stage, the computer on entry 0 against
// a player on entry 1, in a match of rounds of 15 seconds; the computer
// plays at a set level, so it guards and remembers the shots it judged.
class FightState : public ::testing::Test {
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
    use_recordable_random(1234);
    set_computer_difficulty(4);  // an opponent that remembers (level 0 keeps no memory)
    use_fight_clock(60);
    set_fight_frame(0);
    capture_stdout([&] {
      setup_.build_paths(false);
      setup_.build_controls();
      setup_.start_fight(1);
      match_.start_match();
    });
    ASSERT_EQ(lifeform_list.size(), 2u);
    content_ = std::make_unique<fight_content>();
    options_.match = &match_;
    options_.quiet = true;
  }
  void TearDown() override {
    if (!content_) return;
    content_.reset();
    setup_.release();
    reset_seams();
    set_computer_difficulty(0);
    set_fight_host(nullptr);
    g_level = saved_level_;
    lifeform_list = saved_list_;
    if (chdir(old_cwd_) != 0) ADD_FAILURE() << "cannot return to " << old_cwd_;
  }

  void step_with(const frame_inputs& in) { step(in, options_); }
  fight_state saved() {
    fight_state s;
    EXPECT_TRUE(save_fight_state(s, *content_, &match_)) << "frame " << fight_frame();
    return s;
  }
  // Equal bytes; otherwise the offset of the first that differs, to find the field.
  static ::testing::AssertionResult same(const fight_state& a, const fight_state& b) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(&a);
    const unsigned char* q = reinterpret_cast<const unsigned char*>(&b);
    for (size_t i = 0; i < sizeof a; ++i) {
      if (p[i] != q[i]) return ::testing::AssertionFailure() << "byte " << i << " of " << sizeof a << " differs";
    }
    return ::testing::AssertionSuccess();
  }

  screen_host host_;
  level stage_;
  fight_setup setup_;
  match_state match_{match_rules{5, 15, 60, true}};  // not decided within the runs below
  std::unique_ptr<fight_content> content_;
  step_options options_;
  char old_cwd_[PATH_MAX] = {};
  level* saved_level_ = nullptr;
  std::vector<lifeform*> saved_list_;
};

TEST_F(FightState, RestoredMatchReplaysTheSameFramesByteForByte) {
  constexpr int frames = 3000;
  action_script first(7), second(99);
  std::vector<frame_inputs> inputs(frames);
  for (frame_inputs& in : inputs) {
    in.player[0] = first.next(20);
    in.player[1] = second.next(12);
  }
  const int saves[] = {500, 1500, 2500};
  constexpr int window = 200;
  // Every frame's state inside the windows after the saves, as first played.
  std::vector<std::unique_ptr<fight_state>> played(frames + 1);
  int most_projectiles = 0;
  int rounds_ended = 0;
  for (int f = 0; f <= frames; ++f) {
    bool in_window = false;
    for (int s : saves) in_window = in_window || (f >= s && f <= s + window);
    if (in_window) played[f] = std::make_unique<fight_state>(saved());
    if (f == frames) break;
    const match_phase before = match_.phase;
    step_with(inputs[f]);
    if (before == match_phase::fighting && match_.phase != match_phase::fighting) ++rounds_ended;
    most_projectiles = std::max(most_projectiles, static_cast<int>(lifeform_list.size()) - 2);
  }
  // What the run claims to cover, it covered.
  EXPECT_GT(most_projectiles, 0);
  EXPECT_GE(rounds_ended, 1);

  for (int s : saves) {
    std::string log = capture_stdout([&] { restore_fight_state(*played[s], *content_, &match_); });
    EXPECT_EQ(log, "");
    ASSERT_TRUE(same(saved(), *played[s])) << "restored at " << s;
    for (int f = s; f < s + window; ++f) {
      step_with(inputs[f]);
      const fight_state now = saved();
      ASSERT_TRUE(same(now, *played[f + 1])) << "saved at " << s << ", differs after frame " << f;
      ASSERT_EQ(fight_state_hash(now), fight_state_hash(*played[f + 1]));
    }
  }
}

TEST_F(FightState, RollbacksOfUpToEightFramesAtRandomPointsChangeNothing) {
  constexpr int frames = 20000;
  action_script first(3), second(11);
  std::deque<std::pair<fight_state, frame_inputs>> recent;  // a frame's state and the inputs stepped from it
  int rollbacks = 0, rolled_over_projectiles = 0;
  uint32_t pick = 77;
  for (int f = 0; f < frames; ++f) {
    frame_inputs in;
    in.player[0] = first.next(3);
    in.player[1] = second.next(2);
    recent.emplace_back(saved(), in);
    if (recent.size() > 8) recent.pop_front();
    step_with(in);

    pick = pick * 1664525u + 1013904223u;
    if ((pick >> 24) % 7 != 0) continue;
    // Back 1 to 8 frames, then the same inputs again.
    const size_t back = 1 + (pick >> 8) % recent.size();
    const fight_state now = saved();
    const size_t from = recent.size() - back;
    restore_fight_state(recent[from].first, *content_, &match_);
    for (size_t i = from; i < recent.size(); ++i) step_with(recent[i].second);
    ASSERT_TRUE(same(saved(), now)) << "rolled back " << back << " frames at frame " << f;
    ++rollbacks;
    if (now.projectile_count > 0 || recent[from].first.projectile_count > 0) ++rolled_over_projectiles;
  }
  EXPECT_GT(rollbacks, frames / 10);
  EXPECT_GT(rolled_over_projectiles, 0);
}

// With the mixer open, so that a sound played anywhere shows in Mix_Playing.
class FightSounds : public FightState {
 protected:
  void SetUp() override {
    ASSERT_EQ(1, open_sound_mixer());
    Mix_HaltChannel(-1);
    FightState::SetUp();
  }
  void TearDown() override {
    Mix_HaltChannel(-1);
    FightState::TearDown();
  }
};

// The step lists the sounds it starts and plays none, quiet or not; a frame
// stepped again after a restore lists the very sounds it listed the first time.
TEST_F(FightSounds, AFrameSteppedAgainListsTheSameSoundsAndNoStepPlaysOne) {
  constexpr int frames = 1200, restore_at = 400;
  action_script first(5), second(21);
  std::vector<frame_inputs> inputs(frames);
  for (frame_inputs& in : inputs) {
    in.player[0] = first.next(10);
    in.player[1] = second.next(6);
  }
  std::vector<step_events> heard(frames);
  fight_state at_restore{};
  int sounds = 0, loud_frame = -1;
  options_.quiet = false;
  for (int f = 0; f < frames; ++f) {
    if (f == restore_at) at_restore = saved();
    options_.events = &heard[f];
    step_with(inputs[f]);
    ASSERT_EQ(0, Mix_Playing(-1)) << "a sound played during frame " << f;
    for (int i = 0; i < heard[f].sound_count; ++i) {
      EXPECT_EQ(heard[f].sounds[i].frame, f);
      if (f >= restore_at && loud_frame < 0 && heard[f].sounds[i].sound->sample()) loud_frame = f;
    }
    sounds += heard[f].sound_count;
  }
  ASSERT_GT(sounds, 10);
  if (loud_frame < 0) GTEST_SKIP() << "the samples were loaded before the mixer opened";

  options_.quiet = true;
  restore_fight_state(at_restore, *content_, &match_);
  for (int f = restore_at; f < frames; ++f) {
    step_events again;
    options_.events = &again;
    step_with(inputs[f]);
    ASSERT_EQ(0, Mix_Playing(-1)) << "a sound played during frame " << f << ", stepped again";
    ASSERT_TRUE(again == heard[f]) << "frame " << f << ": " << again.sound_count << " sounds listed, "
                                   << heard[f].sound_count << " the first time";
  }
  // What the lists name is heard when played.
  play_step_sounds(heard[loud_frame]);
  EXPECT_GT(Mix_Playing(-1), 0);
}

TEST_F(FightState, HashTellsStatesApartAndAgreesOnEqualOnes) {
  const fight_state a = saved();
  fight_state b = a;
  EXPECT_EQ(fight_state_hash(a), fight_state_hash(b));
  b.projectiles[max_state_projectiles - 1].plays[max_state_plays - 1].countdown ^= 1;
  EXPECT_NE(fight_state_hash(a), fight_state_hash(b));
  b = a;
  b.match.laid_down[1] = 1;
  EXPECT_NE(fight_state_hash(a), fight_state_hash(b));
}

}  // namespace

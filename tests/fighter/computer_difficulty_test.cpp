// The computer opponent at a set difficulty, driven frame by frame with a
// seeded random source and a clock of 60 frames a second.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/seams.h"
#include "fighter/computer_difficulty.h"
#include "fighter/lifeform.h"
#include "fighter/path.h"
#include "stage/level.h"
#include "support/test_env.h"

namespace {

Uint32 clock_ms = 0;
Uint32 test_ticks() { return clock_ms; }
unsigned long long random_state = 1;
int seeded_rand() {
  random_state = random_state * 6364136223846793005ULL + 1442695040888963407ULL;
  return static_cast<int>(random_state >> 33);
}
std::vector<int> rolls;  // when not empty, the random source plays these (then 0)
size_t next_roll = 0;
int scripted_rand() { return next_roll < rolls.size() ? rolls[next_roll++] : 0; }

class ComputerDifficulty : public ::testing::Test {
 protected:
  void SetUp() override {
    ensure_video();
    use_scripted_keys();
    std::memset(scripted_keys(), 0, SDLK_LAST);
    seams().ticks = test_ticks;
    seams().random = seeded_rand;
    clock_ms = 10000;
    random_state = 1;
    saved_level = g_level;
    stage.max_width = 1000;  // attack range: 300 pixels
    g_level = &stage;
    saved_list = lifeform_list;
    lifeform_list = {&me, &them, &shot};
    for (lifeform* l : {&me, &them}) {
      l->width = 184;
      l->height = 208;
      l->y = 272;
    }
    me.path = &p;
    // Its special (move 12) launches a projectile, as the bundled fighters' do.
    shooting_anim.frames.resize(1);
    shooting_anim.frames[0].fire = 1;
    shooting_special.add(counted_ptr<animation>(&shooting_anim));
    me.moves.assign(slot_combo_special + 1, nullptr);
    me.moves[slot_combo_special] = &shooting_special;
    me.team = 0;
    them.team = 1;
    shot.kind = 3;
    shot.team = 1;
    shot.width = 40;
    shot.height = 30;
    shot.y = 322;
    shot.hp = -1;  // no shot in flight until a test fires one
    p.add_step(mode_computer);
    const int weights[6] = {50, 25, 30, 25, 25, 50};
    std::copy(weights, weights + 6, p.ai_weights);
    p.target = 1;
    combos.resize(3);
    for (int i = 0; i < 3; ++i) {
      combos[i].combotype = i + 1;
      combos[i].steps.resize(2);
    }
    capture_stdout([&] { p.recognizer.import(&combos); });
  }
  void TearDown() override {
    me.path = nullptr;
    me.moves.clear();
    lifeform_list = saved_list;
    g_level = saved_level;
    set_computer_difficulty(0);
    reset_seams();
  }
  // One frame: the state copied in as steer does, the update, the clock on.
  // Returns the combotype performed this frame, or -1.
  int frame() {
    p.x = me.x;
    p.y = me.y;
    p.facing = me.x < them.x ? 1 : 0;
    p.vx = p.vy = 0.0;
    if (quiet) {
      capture_stdout([&] { p.update(); });
    } else {
      p.update();
    }
    const int performed = p.recognizer.poll();
    clock_ms += 16;
    return performed;
  }
  bool quiet = true;  // false inside a test's own capture of the log
  double away() const { return me.x < them.x ? -1.0 : 1.0; }

  level stage;
  level* saved_level = nullptr;
  std::vector<lifeform*> saved_list;
  animation shooting_anim;
  move shooting_special;
  lifeform me, them, shot;
  std::vector<combo> combos;
  path p;
};

// Twenty thousand frames of an opponent coming in and out of reach (and now
// and then right up close), with shots flying at it now and then.
TEST_F(ComputerDifficulty, LevelOneAnswersSlowlySpacesItsCombosAndNeverGuards) {
  set_computer_difficulty(1);
  me.x = 100;
  bool in_reach = false;
  Uint32 chance_at = 0;
  long attacks = 0, specials = 0, jumps = 0;
  bool has_special = false;
  Uint32 last_special = 0;
  quiet = false;
  capture_stdout([&] {
  for (int f = 0; f < 20000; ++f) {
    const int phase = (f / 37) % 5;  // a chance every 185 frames, and a far spell
    them.x = me.x + (phase == 0 ? 600 : phase == 1 ? 250 : phase == 2 ? 190 : phase == 3 ? 20 : 500);
    shot.hp = f % 90 < 10 ? 1 : -1;
    shot.ax = -1.0;
    shot.x = them.x - 40 * (f % 90);
    const bool near = std::abs(them.x - me.x) < 300;
    if (near && !in_reach) chance_at = clock_ms;
    in_reach = near;
    const Uint32 now = clock_ms;
    const int performed = frame();
    if (p.primary_trigger != -1 || performed != -1) {
      ++attacks;
      if (in_reach) {
        ASSERT_GE(now - chance_at, 300u) << "frame " << f;
      }
    }
    if (performed != -1) {
      ++specials;
      if (has_special) {
        ASSERT_GE(now - last_special, 2000u) << "frame " << f;
      }
      has_special = true;
      last_special = now;
    }
    ASSERT_NE(p.vx, away()) << "frame " << f << ": stepping back is guarding";
    if (p.vy < 0) ++jumps;
  }
  });
  // It does fight: the limits above held over real attacks.
  EXPECT_GT(attacks, 1000);
  EXPECT_GT(specials, 50);
  EXPECT_GT(jumps, 50);
}

// A fighter whose special launches nothing can hurt only by contact: at
// every level it walks in from across the screen and strikes in contact
// within its reaction time of coming to close quarters, and keeps striking.
TEST_F(ComputerDifficulty, WithNothingToFireEveryLevelClosesInAndStrikesInContact) {
  shooting_anim.frames[0].fire = 0;
  for (int level = lowest_difficulty; level <= highest_difficulty; ++level) {
    SCOPED_TRACE(level);
    set_computer_difficulty(level);
    p.ai = computer_memory{};
    p.ai_decision = -1;
    random_state = static_cast<unsigned long long>(level);
    me.x = 100;
    them.x = me.x + me.width + 300;
    long chance_at = -1, first_blow_at = -1;
    int blows = 0;
    for (int f = 0; f < 600 && blows < 5; ++f) {  // ten seconds
      const int gap = them.x - (me.x + me.width);
      if (gap <= 40 && chance_at < 0) chance_at = clock_ms;
      if (gap > 40) chance_at = -1;
      const Uint32 now = clock_ms;
      frame();
      if (p.primary_trigger != -1) {
        ASSERT_LE(them.x - (me.x + me.width), 2) << "a blow out of contact, frame " << f;
        if (first_blow_at < 0) first_blow_at = now;
        ++blows;
      }
      me.x += static_cast<int>(p.vx * 4);  // four pixels a frame
      me.x = std::min(me.x, them.x - me.width);  // fighters on the floor don't pass through each other
    }
    ASSERT_GE(chance_at, 0) << "never came to close quarters";
    ASSERT_GE(first_blow_at, 0) << "never struck";
    EXPECT_LE(first_blow_at - chance_at, static_cast<long>(profile_for(level).reaction_ms) + 200);
    EXPECT_EQ(5, blows);
  }
}

TEST_F(ComputerDifficulty, LevelFiveGuardsAgainstAShotComingAtIt) {
  set_computer_difficulty(5);
  seams().random = scripted_rand;
  rolls.clear();
  me.x = 100;
  them.x = 900;  // far out of reach
  shot.hp = 1;
  shot.x = 500;
  shot.ax = -1.0;  // flying at it, 216 pixels off
  p.ai_decision = 5;  // doing nothing
  frame();
  EXPECT_EQ(p.vx, -1.0);  // stepping away from the opponent: the guard
  EXPECT_EQ(p.primary_trigger, -1);
  shot.ax = 1.0;  // the same shot flying away from it
  frame();
  EXPECT_EQ(p.vx, 0.0);
  shot.ax = -1.0;
  shot.y = 100;  // flying over its head
  frame();
  EXPECT_EQ(p.vx, 0.0);
}

TEST_F(ComputerDifficulty, LevelOneCanOnlyJumpAShot) {
  set_computer_difficulty(1);
  seams().random = scripted_rand;
  rolls = {0, 0};  // no change of mind; the shot is judged with 0: it evades
  next_roll = 0;
  me.x = 100;
  them.x = 900;
  shot.hp = 1;
  shot.x = 500;
  shot.ax = -1.0;
  p.ai_decision = 5;
  frame();
  EXPECT_EQ(p.vy, -1.0);
  EXPECT_EQ(p.vx, 0.0);
}

}  // namespace

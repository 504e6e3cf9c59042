// Frame data of every bundled attack against a count made here, step by step,
// from the animation files alone: if a move's timing changes in the data, the
// figures must change with it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "app/fight/fight_setup.h"
#include "app/training/frame_data.h"
#include "core/config_file.h"
#include "fighter/lifeform.h"
#include "stage/level.h"
#include "support/test_env.h"

namespace {

const char* bundled_data() { return std::getenv("GAME_DATA_DIR"); }

// Ticks one playing of an animation file lasts: each frame stays `rate`
// ticks (at least one), counted down one tick a frame.
int ticks_of(const std::string& anim_file) {
  config_file f;
  if (!f.load(anim_file.c_str())) return -1;
  int ticks = 0;
  for (int i = 0; i < f.get_int("images"); ++i) {
    int left = f.get_int(("rate" + std::to_string(i)).c_str());
    do {
      ++ticks;
      --left;
    } while (left > 0);
  }
  return ticks;
}

struct expected_figures {
  int startup, active, recovery, on_hit, on_block;
};

// The fight's frame: hit resolution first (it sees the posture the last
// step left), then the step (which starts the move in frame 1 and ticks it).
// Attacker and defender stand in reach, so the blow touches whenever the
// attacker is in its attacking posture. Counted frame by frame.
expected_figures count_frames(int move_ticks, int hit_ticks) {
  expected_figures e{0, 0, 0, 0, 0};
  bool attacking = false;      // the posture the last step left
  int attack_left = 0;         // ticks of the move still to play
  int reaction_left = 0;       // ticks of the defender's hit reaction still to play
  int last_touch = 0, attacker_free = 0, defender_free = 0, contact = 0;
  for (int f = 1; f < 1000 && !(attacker_free && defender_free); ++f) {
    if (attacking) {
      if (!e.startup) e.startup = f;
      ++e.active;
      last_touch = f;
      // A blow that still touches once the reaction is over hits again.
      if (reaction_left == 0) {
        reaction_left = hit_ticks;
        if (!contact) contact = f;
      }
    }
    if (contact && !defender_free && reaction_left == 0) defender_free = f;
    if (f > 1 && !attacker_free && attack_left == 0) attacker_free = f;
    if (f == 1) attack_left = move_ticks;
    attacking = attack_left > 0;
    if (attack_left > 0) --attack_left;
    if (reaction_left > 0) --reaction_left;
    if (attack_left == 0) attacking = false;
  }
  e.recovery = attacker_free - last_touch - 1;
  e.on_hit = defender_free - attacker_free;
  e.on_block = contact - attacker_free;  // a guard holds no reaction
  return e;
}

class FrameData : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!bundled_data()) GTEST_SKIP() << "GAME_DATA_DIR is not set (./test.sh sets it)";
    ensure_video();
    ASSERT_NE(nullptr, getcwd(old_dir, sizeof old_dir));
    ASSERT_EQ(0, chdir(bundled_data()));
    saved_level = g_level;
    stage.max_width = 1600;
    g_level = &stage;
  }
  void TearDown() override {
    if (!bundled_data()) return;
    g_level = saved_level;
    ASSERT_EQ(0, chdir(old_dir));
  }
  char old_dir[4096] = {};
  level stage;
  level* saved_level = nullptr;
};

// The moves whose blow is the fighter's own body standing its ground: the
// dash travels (how long it touches depends on how far, and whether the
// bodies push apart) and the special move's blow is a projectile; this count
// models neither.
TEST_F(FrameData, EveryBundledBodyBlowMatchesAStepByStepCount) {
  const int body_blows[] = {slot_punch, slot_kick, 4, 5, slot_crouch_punch, slot_crouch_kick};
  const char* defender_file = roster_char_files[3];
  config_file defender_char;
  ASSERT_TRUE(defender_char.load(defender_file));
  const int hit_ticks = ticks_of(defender_char.get_string("move1"));
  ASSERT_GT(hit_ticks, 0);
  int checked = 0;
  for (const char* attacker_file : roster_char_files) {
    config_file chars;
    ASSERT_TRUE(chars.load(attacker_file));
    std::vector<move_frame_data> measured;
    capture_stdout([&] { measured = measure_frame_data(attacker_file, defender_file, nullptr); });
    for (int slot : body_blows) {
      const int ticks = ticks_of(chars.get_string(("move" + std::to_string(slot)).c_str()));
      ASSERT_GT(ticks, 0) << attacker_file << " move " << slot;
      const expected_figures e = count_frames(ticks, hit_ticks);
      const move_frame_data* d = nullptr;
      for (const move_frame_data& m : measured) {
        if (m.slot == slot) d = &m;
      }
      ASSERT_NE(nullptr, d) << attacker_file << " move " << slot;
      SCOPED_TRACE(std::string(attacker_file) + " " + attack_slot_name(slot) + ": " + frame_data_text(*d));
      EXPECT_TRUE(d->touches && d->hit_known && d->block_known);
      EXPECT_EQ(e.startup, d->startup);
      EXPECT_EQ(e.active, d->active);
      EXPECT_EQ(e.recovery, d->recovery);
      EXPECT_EQ(e.on_hit, d->on_hit);
      EXPECT_EQ(e.on_block, d->on_block);
      ++checked;
    }
    // Every attack a fighter has is measured, and the measuring left no
    // projectile or fighter behind in the fight's list.
    EXPECT_EQ(measured_attack_slots().size(), measured.size()) << attacker_file;
    EXPECT_TRUE(lifeform_list.empty());
  }
  EXPECT_EQ(4 * 6, checked);
}

}  // namespace

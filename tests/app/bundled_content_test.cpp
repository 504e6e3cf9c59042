// The bundled game data (written by gen_content into the directory named by
// GAME_DATA_DIR) read through the game's own loaders, and played.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "anim/animation.h"
#include "app/fight/fight_setup.h"
#include "core/config_file.h"
#include "fighter/combo.h"
#include "fighter/lifeform.h"
#include "stage/level.h"
#include "support/run_game.h"
#include "support/test_env.h"

namespace {

const char* bundled_data() { return std::getenv("GAME_DATA_DIR"); }

// Runs `fn` with the bundled data directory as the working directory, since
// data files name each other relative to it.
template <typename Fn>
void in_data_dir(Fn fn) {
  char old[4096];
  ASSERT_NE(nullptr, getcwd(old, sizeof old));
  ASSERT_EQ(0, chdir(bundled_data()));
  fn();
  ASSERT_EQ(0, chdir(old));
}

class BundledContent : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!bundled_data()) GTEST_SKIP() << "GAME_DATA_DIR is not set (./test.sh sets it)";
    ensure_video();
  }
};

TEST_F(BundledContent, EveryFighterLoadsCompleteThroughTheGame) {
  fight_setup setup;
  capture_stdout([&] { setup.build_controls(); });
  for (int position = 0; position < roster_size; ++position) {
    SCOPED_TRACE(roster_char_files[position]);
    lifeform fighter;
    fighter.controls = setup.maps[0].get();
    std::string log;
    in_data_dir([&] { log = capture_stdout([&] { fighter.load(roster_char_files[position]); }); });
    EXPECT_EQ(std::string::npos, log.find("Can't")) << log;
    EXPECT_EQ(std::string::npos, log.find("Couldn't")) << log;
    EXPECT_EQ(std::string::npos, log.find("WARNING")) << log;
    EXPECT_EQ(std::string::npos, log.find("ERROR")) << log;
    ASSERT_EQ(9u, fighter.images.size());
    for (img_mgr* image : fighter.images) EXPECT_GT(image->get_width(), 0);
    ASSERT_EQ(16u, fighter.moves.size());
    for (int slot = 0; slot < 16; ++slot) {
      move* m = fighter.moves[slot];
      ASSERT_NE(nullptr, m) << slot;
      ASSERT_EQ(1u, m->animations.size()) << slot;
      EXPECT_GE(m->animations[0]->frames.size(), 2u) << "move " << slot;
    }
    // Three combos of types 1, 2 and 3, every step bound to a control.
    config_file ini;
    in_data_dir([&] { capture_stdout([&] { ini.load(roster_char_files[position]); }); });
    ASSERT_EQ(3u, fighter.combos->size());
    for (int i = 0; i < 3; ++i) {
      const combo& c = (*fighter.combos)[i];
      EXPECT_EQ(i + 1, c.combotype);
      std::string steps_key = "combo" + std::to_string(i) + "moves";
      EXPECT_EQ(ini.get_int(steps_key.c_str()), c.reqkeys());
      EXPECT_GE(c.reqkeys(), 2);
    }
    EXPECT_GT(fighter.hp, 0);
    EXPECT_GT(fighter.speed, 0.0);
  }
  capture_stdout([&] { setup.release(); });
}

TEST_F(BundledContent, TheStageAndTheLoadingAnimationLoad) {
  level stage;
  std::string log;
  in_data_dir([&] { log = capture_stdout([&] { stage.load("rsrc\\veltmoore\\stage_veltmoore.ini"); }); });
  EXPECT_EQ(std::string::npos, log.find("Can't")) << log;
  EXPECT_EQ(std::string::npos, log.find("Couldn't")) << log;
  EXPECT_EQ(std::string::npos, log.find("ERROR")) << log;
  EXPECT_GE(stage.max_width, 1280);  // wide enough to scroll
  EXPECT_EQ(1u, stage.plist.size());  // one layered piece, tall enough for the widest view
  EXPECT_NE(-1, stage.floor);
  EXPECT_NE(std::string::npos, log.find("Added layer["));
}

// The combos of each fighter as written for the human's keys, with their types.
struct fighter_combos {
  int position;
  const char* keys[3][3];  // up to three keys per combo, null-terminated early
};

const fighter_combos roster_combos[] = {
    {0, {{"down", "up", nullptr}, {"down", "right", "i"}, {"down", "k", "right"}}},
    {1, {{"k", "up", nullptr}, {"down", "right", "k"}, {"down", "i", "right"}}},
    {2, {{"i", "up", nullptr}, {"right", "down", "i"}, {"down", "k", "right"}}},
    {3, {{"down", "up", nullptr}, {"right", "down", "k"}, {"down", "i", "right"}}},
};

// A key script that enters the three combos one after another, the special
// (type 2) first, each key held 5 frames, 8 frames apart. Combos are 150
// frames (2.5 s) apart, so no half-finished attempt of one completes another
// and the special's projectile has time to fly.
std::string combo_script(const fighter_combos& c) {
  std::string script;
  long frame = 120;  // the fight starts at frame 117 (fighter picked by --fighter)
  for (int combo_index : {1, 0, 2}) {
    for (const char* key : c.keys[combo_index]) {
      if (!key) break;
      script += std::to_string(frame) + " " + key + " down\n";
      script += std::to_string(frame + 5) + " " + key + " up\n";
      frame += 8;
    }
    frame += 150;
  }
  script += std::to_string(frame + 120) + " escape down\n";
  return script;
}

// True when the trace shows entry `entry` losing exactly `amount` in one frame.
bool lost_hp(const std::string& trace, int entry, int amount) {
  const std::string prefix = "] entry [" + std::to_string(entry) + "] hp [";
  for (size_t at = trace.find(prefix); at != std::string::npos; at = trace.find(prefix, at + 1)) {
    int before = 0, after = 0;
    if (std::sscanf(trace.c_str() + at + prefix.size(), "%d] -> [%d]", &before, &after) == 2 &&
        before - after == amount) {
      return true;
    }
  }
  return false;
}

TEST_F(BundledContent, EachFightersCombosCompleteAndTheSpecialFiresAProjectile) {
  for (const fighter_combos& c : roster_combos) {
    SCOPED_TRACE("roster position " + std::to_string(c.position));
    std::string dir = make_temp_dir("combos");
    write_text_file(dir, "keys.txt", combo_script(c));
    // One endless fight: the script's keys start as soon as it does.
    game_run run = run_fight({"--data-dir", without_match_keys(bundled_data()), "--fighter", std::to_string(c.position), "--seed", "1",
                              "--script", dir + "/keys.txt", "--frames", "3000"},
                             {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "GAME_FIGHT_TRACE=1"});
    EXPECT_EQ(0, run.exit_status);
    for (int type = 1; type <= 3; ++type) {
      std::string line = "entry [1] combo [" + std::to_string(type) + "]";
      EXPECT_NE(std::string::npos, run.err.find(line)) << line << "\n" << run.err;
    }
    EXPECT_NE(std::string::npos, run.err.find("text [Combo[2]]")) << run.err;
    // The special's firing frame adds a bullet; its strike costs the
    // computer's fighter 15 hit points (body blows cost 10).
    EXPECT_TRUE(lost_hp(run.err, 0, 15)) << run.err;
  }
}

// Dravitz blocks (RIGHT held about 0.7 s), then enters "right, down, kick" at
// once: one entry, one special.
TEST_F(BundledContent, AFighterAfterBlockingGetsOneSpecialPerEntry) {
  std::string dir = make_temp_dir("block_combo");
  write_text_file(dir, "keys.txt",
                  "150 right down\n190 right up\n194 right down\n198 right up\n202 down down\n206 down up\n"
                  "210 k down\n214 k up\n260 escape down\n");
  game_run run = run_fight({"--data-dir", bundled_data(), "--fighter", "3", "--seed", "1", "--script",
                            dir + "/keys.txt", "--frames", "300"},
                           {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "GAME_FIGHT_TRACE=1"});
  EXPECT_EQ(0, run.exit_status);
  const std::string line = "entry [1] combo [2]";
  const size_t first = run.err.find(line);
  ASSERT_NE(std::string::npos, first) << run.err;
  EXPECT_EQ(std::string::npos, run.err.find(line, first + 1)) << run.err;
}

}  // namespace

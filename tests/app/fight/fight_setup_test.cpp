// Fight set-up: controls and maps, paths, loading and placing both fighters.
#include "app/fight/fight_setup.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <memory>
#include <cstring>
#include <vector>

#include "app/video.h"
#include "core/png_write.h"
#include "fighter/control.h"
#include "fighter/lifeform.h"
#include "fighter/path.h"
#include "gfx/img_mgr.h"
#include "stage/level.h"
#include "support/test_env.h"

namespace {

void write_picture(const std::string& path, int w, int h, uint8_t r, uint8_t g, uint8_t b) {
  std::filesystem::path p(path);
  write_solid_picture(p.parent_path().string(), p.filename().string(), w, h, r, g, b);
}

Uint32 first_pixel_rgb(img_mgr* img) {
  SDL_Surface* s = img ? img->pixels() : nullptr;
  if (!s) return 0xFFFFFFFFu;
  Uint32 v = 0;
  std::memcpy(&v, s->pixels, s->format->BytesPerPixel);
  Uint8 r, g, b;
  SDL_GetRGB(v, s->format, &r, &g, &b);
  return (r << 16) | (g << 8) | b;
}

TEST(FightSetupControls, EighteenControlsAndTwoMaps) {
  fight_setup setup;
  std::string out = capture_stdout([&] { setup.build_controls(); });
  EXPECT_EQ(out, "making hash empty\nmaking hash empty\n");
  ASSERT_EQ(setup.controls.size(), 18u);
  EXPECT_EQ(setup.controls[0]->name, "p1_up");
  EXPECT_EQ(setup.controls[17]->name, "p2_downleft");
  for (const std::unique_ptr<control>& c : setup.controls) {
    EXPECT_EQ(c->min_time, 1);
    EXPECT_EQ(c->max_time, 1000);
  }

  const char* names[7] = {"up", "noup", "down", "left", "right", "punch", "kick"};
  const int p1_keys[7] = {SDLK_UP, SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_i, SDLK_k};
  const int p2_keys[7] = {SDLK_w, SDLK_w, SDLK_s, SDLK_a, SDLK_d, SDLK_TAB, SDLK_z};
  const int states[7] = {1, 0, 1, 1, 1, 1, 1};
  for (int i = 0; i < 7; ++i) {
    control* c1 = setup.maps[0]->lookup(names[i]);
    control* c2 = setup.maps[1]->lookup(names[i]);
    ASSERT_NE(c1, nullptr) << names[i];
    ASSERT_NE(c2, nullptr) << names[i];
    EXPECT_EQ(c1->name, std::string("p1_") + names[i]);
    EXPECT_EQ(c2->name, std::string("p2_") + names[i]);
    EXPECT_EQ(c1->pairs.back().key, p1_keys[i]);
    EXPECT_EQ(c2->pairs.back().key, p2_keys[i]);
    EXPECT_EQ(c1->pairs.back().state, states[i]);
  }
  // "left" also needs down released, so it is two pairs.
  const control* left = setup.maps[0]->lookup("left");
  ASSERT_EQ(left->pairs.size(), 2u);
  EXPECT_EQ(left->pairs[0].key, SDLK_DOWN);
  EXPECT_EQ(left->pairs[0].state, 0);
  EXPECT_EQ(setup.maps[0]->lookup("up2"), nullptr);
  EXPECT_EQ(setup.maps[0]->lookup("Up"), nullptr);

  setup.release();
  EXPECT_TRUE(setup.controls.empty());
  EXPECT_EQ(setup.maps[0], nullptr);
}

TEST(FightSetupPaths, HumanComputerAndDemoPaths) {
  fight_setup setup;
  setup.build_paths(false);
  ASSERT_NE(setup.human_path, nullptr);
  EXPECT_EQ(setup.human_path->step_count, 1);
  EXPECT_EQ(setup.human_path->steps[0].mode, mode_human);
  EXPECT_EQ(setup.computer_path->steps[0].mode, mode_computer);
  EXPECT_EQ(setup.demo_path, nullptr);
  setup.release();

  fight_setup demo;
  demo.build_paths(true);
  ASSERT_NE(demo.demo_path, nullptr);
  EXPECT_EQ(demo.demo_path->steps[0].mode, mode_computer);
  demo.release();
}

class FightSetup : public ::testing::Test {
 protected:
  void SetUp() override {
    ensure_video();
    ASSERT_NE(getcwd(old_cwd, sizeof old_cwd), nullptr);
    dir = make_temp_dir("fight_setup");
    ASSERT_EQ(chdir(dir.c_str()), 0);
    saved_level = g_level;
    g_level = new level;
    saved_list = lifeform_list;
    lifeform_list.clear();
  }
  void TearDown() override {
    // The set-up owned its fighters; it has emptied the list as it went.
    EXPECT_TRUE(lifeform_list.empty());
    lifeform_list = saved_list;
    delete g_level;
    g_level = saved_level;
    if (chdir(old_cwd) != 0) ADD_FAILURE() << "cannot return to " << old_cwd;
  }
  void write_stage(int width, const std::string& extra = "") {
    write_picture(dir + "/rsrc/veltmoore/bg.png", width, 8, 10, 10, 10);
    write_text_file(dir, "rsrc/veltmoore/bg.ini", "width=" + std::to_string(width) + " images=1 image0=rsrc\\veltmoore\\bg.png\n");
    write_text_file(dir, "rsrc/veltmoore/stage_veltmoore.ini", "bgset=rsrc\\veltmoore\\bg.ini length=0 " + extra + "\n");
  }
  // Picture names differ from test to test: the image cache outlives each test.
  void write_fighter(const std::string& name, int height, uint8_t r, uint8_t g, uint8_t b) {
    static int pictures = 0;
    const std::string picture = name + "_stand" + std::to_string(++pictures) + ".png";
    write_picture(dir + "/rsrc/" + name + "/" + picture, 40, height, r, g, b);
    write_text_file(dir, "game/fighter/" + name + "_char.ini",
                    "hp=100 images=1 image0=rsrc\\" + name + "\\" + picture + " "
                    "combos=1 combo0moves=2 combo0move=2 combo0move0=down combo0move1=punch\n");
  }
  std::string start(fight_setup& setup, int position, bool demo = false, int second_player = -1) {
    return capture_stdout([&] {
      setup.build_paths(demo);
      setup.build_controls();
      setup.start_fight(position, second_player);
    });
  }

  char old_cwd[PATH_MAX];
  std::string dir;
  level* saved_level = nullptr;
  std::vector<lifeform*> saved_list;
};

TEST_F(FightSetup, FightersAreLoadedWiredAndPlaced) {
  write_stage(1600);
  write_fighter("brela", 120, 1, 2, 3);
  write_fighter("morvane", 90, 1, 2, 3);
  fight_setup setup;
  std::string out = start(setup, 2);
  ASSERT_EQ(lifeform_list.size(), 2u);
  lifeform* computer = lifeform_list[0];
  lifeform* human = lifeform_list[1];
  const int sw = g_video.screen->w, sh = g_video.screen->h;

  EXPECT_EQ(computer->controls, setup.maps[1].get());
  EXPECT_EQ(human->controls, setup.maps[0].get());
  EXPECT_EQ(computer->path, setup.computer_path.get());
  EXPECT_EQ(human->path, setup.human_path.get());
  EXPECT_EQ(computer->target, 1);
  EXPECT_EQ(human->target, 0);
  EXPECT_EQ(computer->edge_death, 0);
  EXPECT_EQ(human->edge_death, 0);
  EXPECT_EQ(computer->facing, 1);
  EXPECT_EQ(human->facing, 0);
  EXPECT_EQ(computer->team, 0);
  EXPECT_EQ(human->team, 1);
  EXPECT_EQ(computer->x, 600);
  EXPECT_EQ(human->x, 1000);
  EXPECT_EQ(computer->y, sh - 120);
  EXPECT_EQ(human->y, sh - 90);
  EXPECT_EQ(human->colour_swaps.size(), 5u);
  EXPECT_TRUE(computer->colour_swaps.empty());

  // Combos bound against each fighter's own map and imported into its path.
  ASSERT_EQ(computer->combos->size(), 1u);
  EXPECT_EQ((*computer->combos)[0].steps[0].name, "p2_down");
  EXPECT_EQ((*human->combos)[0].steps[1].name, "p1_punch");
  EXPECT_EQ(setup.computer_path->recognizer.combos, computer->combos.get());
  EXPECT_EQ(setup.human_path->recognizer.combos, human->combos.get());
  EXPECT_EQ(setup.human_path->recognizer.maxkeep, 2000u);

  // Level first, then the computer's file, then the human's.
  const size_t level_at = out.find("load config [rsrc\\veltmoore\\stage_veltmoore.ini]");
  const size_t brela_at = out.find("load config [game\\fighter\\brela_char.ini]");
  const size_t morvane_at = out.find("load config [game\\fighter\\morvane_char.ini]");
  ASSERT_NE(level_at, std::string::npos);
  EXPECT_LT(level_at, brela_at);
  EXPECT_LT(brela_at, morvane_at);
  char tail[160];
  std::snprintf(tail, sizeof tail, "Level [1600,8] screen [%d,%d]\nScrolling Max for level: maxx [%d] maxy[%d]\n", sw,
                sh, 1600 - sw, 8 - sh);
  EXPECT_NE(out.find(tail), std::string::npos);
  EXPECT_EQ(out.substr(out.size() - std::strlen(tail)), tail);

  setup.release();
  EXPECT_EQ(computer->path, nullptr);  // no dangling path once released
}

TEST_F(FightSetup, LevelScaleDividesTheStartPositions) {
  write_stage(1600, "scale=2.0");
  write_fighter("brela", 100, 1, 2, 3);
  fight_setup setup;
  start(setup, 0);
  ASSERT_EQ(lifeform_list.size(), 2u);
  // max_width is 3200 after scaling; half of it over the scale is 800.
  EXPECT_EQ(lifeform_list[0]->x, 600);
  EXPECT_EQ(lifeform_list[1]->x, 1000);
  setup.release();
}

TEST_F(FightSetup, MirrorMatchRecoloursOnlyTheHumansCopies) {
  write_stage(640);
  write_fighter("brela", 100, 252, 244, 255);
  fight_setup setup;
  start(setup, 0);
  ASSERT_EQ(lifeform_list.size(), 2u);
  ASSERT_EQ(lifeform_list[0]->images.size(), 1u);
  ASSERT_EQ(lifeform_list[1]->images.size(), 1u);
  EXPECT_NE(lifeform_list[0]->images[0], lifeform_list[1]->images[0]);
  EXPECT_EQ(first_pixel_rgb(lifeform_list[0]->images[0]), 0xFCF4FFu);  // the cache's own, unchanged
  EXPECT_EQ(first_pixel_rgb(lifeform_list[1]->images[0]), 0xFCD582u);  // (252, 213, 130)
  setup.release();
}

TEST_F(FightSetup, DemoGivesTheHumanFighterAComputerPath) {
  write_stage(640);
  write_fighter("brela", 100, 1, 2, 3);
  fight_setup setup;
  start(setup, 0, true);
  ASSERT_EQ(lifeform_list.size(), 2u);
  EXPECT_EQ(lifeform_list[1]->path, setup.demo_path.get());
  EXPECT_EQ(setup.demo_path->recognizer.combos, lifeform_list[1]->combos.get());
  setup.release();
}

// A second player takes entry 0 with their own pick, steered by a human step
// on the second key set; everything else about entry 0 stays.
TEST_F(FightSetup, ASecondPlayerPlaysEntry0WithTheirPickAndKeys) {
  write_stage(1600);
  write_fighter("brela", 120, 1, 2, 3);
  write_fighter("kastrell", 110, 1, 2, 3);
  write_fighter("dravitz", 90, 1, 2, 3);
  fight_setup setup;
  std::string out = start(setup, 3, false, 1);
  ASSERT_EQ(lifeform_list.size(), 2u);
  lifeform* second = lifeform_list[0];
  EXPECT_EQ(out.find("load config [game\\fighter\\brela_char.ini]"), std::string::npos);
  EXPECT_LT(out.find("load config [game\\fighter\\kastrell_char.ini]"),
            out.find("load config [game\\fighter\\dravitz_char.ini]"));
  ASSERT_NE(setup.second_player_path, nullptr);
  EXPECT_EQ(second->path, setup.second_player_path.get());
  EXPECT_EQ(lifeform_list[1]->path, setup.human_path.get());
  EXPECT_EQ(setup.second_player_path->steps[0].mode, mode_human);
  EXPECT_EQ(setup.second_player_path->player, 1);
  EXPECT_EQ(setup.human_path->player, 0);
  EXPECT_EQ(setup.second_player_path->recognizer.combos, second->combos.get());
  EXPECT_EQ((*second->combos)[0].steps[1].name, "p2_punch");
  EXPECT_EQ(second->controls, setup.maps[1].get());
  EXPECT_EQ(second->x, 600);
  EXPECT_EQ(second->y, g_video.screen->h - 110);
  EXPECT_EQ(second->team, 0);
  EXPECT_TRUE(second->colour_swaps.empty());
  setup.release();
  EXPECT_EQ(second->path, nullptr);
}

// Back from the select screen, the fighters replaced are freed (their combo
// lists, shared only with their copies, go with them), and what still pointed
// into them goes first: the projectiles in flight (copies playing their
// animations), the combos the second player's path was bound to, and the
// combo attempts in progress.
TEST_F(FightSetup, ReplacedFightersAreFreedAndNothingPointsIntoThem) {
  write_stage(640);
  write_fighter("brela", 100, 1, 2, 3);
  write_fighter("kastrell", 80, 1, 2, 3);
  fight_setup setup;
  start(setup, 0, false, 1);
  ASSERT_EQ(lifeform_list.size(), 2u);
  lifeform* second = lifeform_list[0];
  ASSERT_EQ(second->path, setup.second_player_path.get());
  capture_stdout([&] { enlist_projectile(std::make_unique<lifeform>(*lifeform_list[1])); });
  combo* second_players_combo = &(*second->combos)[0];
  setup.second_player_path->recognizer.attempts.push_back(combo_attempt{second_players_combo, 0, 1000000, 0, 1, 0});
  setup.human_path->recognizer.attempts.push_back(combo_attempt{&(*lifeform_list[1]->combos)[0], 0, 1000000, 0, 1, 0});

  const std::weak_ptr<std::vector<combo>> replaced[2] = {lifeform_list[0]->combos, lifeform_list[1]->combos};

  // The second player has gone: the computer takes entry 0 back.
  capture_stdout([&] { setup.change_fighters(2); });
  EXPECT_TRUE(replaced[0].expired());
  EXPECT_TRUE(replaced[1].expired());
  ASSERT_EQ(lifeform_list.size(), 2u);  // the projectile went with the fighters it copied
  EXPECT_NE(lifeform_list[0], second);
  EXPECT_EQ(lifeform_list[0]->path, setup.computer_path.get());
  EXPECT_EQ(setup.second_player_path->recognizer.combos, nullptr);
  EXPECT_TRUE(setup.second_player_path->recognizer.attempts.empty());
  EXPECT_TRUE(setup.human_path->recognizer.attempts.empty());
  EXPECT_EQ(setup.human_path->recognizer.combos, lifeform_list[1]->combos.get());

  // Without a second player only entry 1 is replaced; entry 0 stays as it is.
  const std::weak_ptr<std::vector<combo>> kept = lifeform_list[0]->combos;
  capture_stdout([&] { setup.change_fighters(1); });
  EXPECT_FALSE(kept.expired());
  EXPECT_EQ(lifeform_list[0]->combos, kept.lock());
  setup.release();
}

TEST_F(FightSetup, MissingFilesAndABadRosterPositionStillStartAFight) {
  fight_setup setup;
  std::string out = start(setup, 9);
  EXPECT_NE(out.find("WARNING: roster position [9]"), std::string::npos);
  EXPECT_NE(out.find("Can't open [game\\fighter\\brela_char.ini]"), std::string::npos);
  ASSERT_EQ(lifeform_list.size(), 2u);
  EXPECT_EQ(lifeform_list[1]->hp, 0);
  // A level smaller than the screen prints negative maxima.
  EXPECT_NE(out.find("Scrolling Max for level: maxx [-"), std::string::npos);
  setup.release();
}

}  // namespace

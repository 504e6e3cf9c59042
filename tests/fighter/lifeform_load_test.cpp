// Character files: what a fighter gets from each key, and every log line.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>

#include "app/video.h"
#include "core/log.h"
#include "fighter/control.h"
#include "fighter/lifeform.h"
#include "fighter_test_data.h"
#include "gfx/img_mgr.h"

namespace {

class LifeformLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    ensure_video();
    dir = make_temp_dir("lifeform_load");
    map_controls();
  }
  void map_controls() {
    down.add_pair(SDLK_DOWN, 1);
    right.add_pair(SDLK_RIGHT, 1);
    punch.add_pair(SDLK_i, 1);
    capture_stdout([&] { controls = new control_map; });
    controls->insert("down", &down);
    controls->insert("right", &right);
    controls->insert("punch", &punch);
  }
  void TearDown() override { delete controls; }

  std::string load(lifeform& l, const std::string& text) {
    std::string file = write_data(dir, "char" + std::to_string(++files) + ".ini", text);
    return capture_stdout([&] { l.load(file.c_str()); });
  }

  std::string dir;
  int files = 0;
  control down{"p1_down", 1, 1000}, right{"p1_right", 1, 1000}, punch{"p1_punch", 1, 1000};
  control_map* controls = nullptr;
};

TEST_F(LifeformLoad, ANewLifeformHasItsStartValues) {
  lifeform l;
  EXPECT_EQ(l.hp, 1);
  EXPECT_EQ(l.max_hp, 1);
  EXPECT_EQ(l.speed, 1.0);
  EXPECT_EQ(l.edge_death, 1);
  EXPECT_EQ(l.action, -1);
  EXPECT_EQ(l.alpha, 255);
  EXPECT_EQ(l.scale, 1.0);
  ASSERT_NE(l.anim_stack, nullptr);
  EXPECT_TRUE(l.anim_stack->empty());
  ASSERT_NE(l.combos, nullptr);
  EXPECT_TRUE(l.combos->empty());
  EXPECT_EQ(l.path, nullptr);
  EXPECT_EQ(l.ai_weights[0], 0);
}

TEST_F(LifeformLoad, OnlyHp) {
  lifeform l;
  std::string out = load(l, "hp=100\n");
  EXPECT_EQ(l.hp, 100);
  EXPECT_EQ(l.max_hp, 100);
  EXPECT_EQ(l.speed, 1.0);
  EXPECT_EQ(l.scale, 1.0);
  EXPECT_TRUE(l.moves.empty());
  EXPECT_TRUE(l.images.empty());
  EXPECT_TRUE(l.combos->empty());
  EXPECT_EQ(l.width, 0);
  EXPECT_EQ(l.height, 0);
  EXPECT_NE(out.find("Loaded Char [0]images [0]animations [0]combos\nFinal size [0,0]\n"), std::string::npos);
  const int weights[6] = {50, 25, 30, 25, 25, 50};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(l.ai_weights[i], weights[i]);
  EXPECT_EQ(l.damage, 1);
}

// Without a `name` key the fight shows the file's own name.
TEST_F(LifeformLoad, TheNameComesFromTheNameKeyElseTheCharacterFilesName) {
  lifeform l;
  const std::string file = write_data(dir, "morvane_char.ini", "hp=5\n");
  capture_stdout([&] { l.load(file.c_str()); });
  EXPECT_EQ("Morvane", l.name);
  lifeform named, unnamed, long_named;
  capture_stdout([&] {
    named.load(write_data(dir, "nova_char.ini", "hp=5\nname=Lady_nova\n").c_str());
    unnamed.load(write_data(dir, "dravitz_char.ini", "name=\nhp=5\n").c_str());
    long_named.load(write_data(dir, "x_char.ini", "name=" + std::string(30, 'W') + "\n").c_str());
  });
  EXPECT_EQ("Lady nova", named.name);  // as written, an underscore for a space
  EXPECT_EQ("Dravitz", unnamed.name);  // an empty name keeps the file's
  EXPECT_EQ(std::string(24, 'W'), long_named.name);
  EXPECT_EQ("Brela", fighter_name_from_file("game\\fighter\\brela_char.ini"));
  EXPECT_EQ("Odd one", fighter_name_from_file("rsrc/odd one.ini"));
  EXPECT_EQ("Bad?name", fighter_name_from_file("bad\x01name_char.ini"));
  EXPECT_EQ("", fighter_name_from_file(""));
}

TEST_F(LifeformLoad, ScaleSpeedAndMissingHp) {
  lifeform l;
  load(l, "scale=0.5 speed=0\n");
  EXPECT_EQ(l.scale, 0.5);
  EXPECT_EQ(l.speed, 0.0);
  EXPECT_EQ(l.hp, 0);
  EXPECT_TRUE(l.alive());
  l.hp -= 1;
  EXPECT_FALSE(l.alive());
}

TEST_F(LifeformLoad, SizeComesFromTheLargestImagesUnlessOverridden) {
  std::string a = write_picture(dir, "a.png", 100, 200, 10, 20, 30);
  std::string b = write_picture(dir, "b.png", 150, 180, 10, 20, 30);
  const std::string images = "images=2\nimage0=" + a + "\nimage1=" + b + "\n";

  lifeform plain;
  EXPECT_NE(load(plain, images).find("Loaded Char [2]images [0]animations [0]combos\nFinal size [150,200]\n"),
            std::string::npos);
  ASSERT_EQ(plain.images.size(), 2u);
  EXPECT_EQ(plain.images[1]->get_width(), 150);

  lifeform zero;
  load(zero, images + "width=0\n");
  EXPECT_EQ(zero.width, 150);

  lifeform wide;
  EXPECT_NE(load(wide, images + "width=120 height=90\n").find("Final size [120,90]\n"), std::string::npos);
}

TEST_F(LifeformLoad, MovesLoadBeforeImagesAndNeverSizeTheFighter) {
  std::string frame = write_picture(dir, "frame.png", 300, 300, 1, 2, 3);
  std::string anim = write_data(dir, "punch.ini", "images=1\nimage0=" + frame + "\nrate0=2\n");
  lifeform l;
  std::string out = load(l, "moves=2\nmove0=" + anim + "\nmove0scale=1.5\nmove1=" + dir + "/absent.ini\n");
  ASSERT_EQ(l.moves.size(), 2u);
  ASSERT_EQ(l.moves[0]->animations.size(), 1u);
  EXPECT_EQ(l.moves[0]->animations[0]->scale, 1.5);
  EXPECT_EQ(l.moves[0]->animations[0]->frames.size(), 1u);
  EXPECT_TRUE(l.moves[1]->animations[0]->frames.empty());  // kept without frames
  EXPECT_NE(out.find("Can't load animation from ["), std::string::npos);
  EXPECT_EQ(l.width, 0);
  EXPECT_NE(out.find("Final size [0,0]"), std::string::npos);
}

TEST_F(LifeformLoad, AMissingControlKeepsTheOtherSteps) {
  lifeform l;
  l.controls = controls;
  std::string out = load(l,
                         "combos=2\n"
                         "combo0moves=3 combo0move=2 combo0move0=down combo0move1=jump combo0move2=punch\n"
                         "combo1moves=1 combo1move=3 combo1move0=right\n");
  ASSERT_EQ(l.combos->size(), 2u);
  const combo& c = (*l.combos)[0];
  ASSERT_EQ(c.reqkeys(), 2);
  EXPECT_EQ(c.steps[0].name, "p1_down");
  EXPECT_EQ(c.steps[1].name, "p1_punch");
  EXPECT_EQ(c.combotype, 2);
  char warning[128];
  std::snprintf(warning, sizeof warning, "WARNING: Control [jump] not found in controls [%x]\n", log_addr(controls));
  EXPECT_NE(out.find(std::string("Combo[0]Move[0] == 'down'\nCombo[0]Move[1] == 'jump'\n") + warning +
                     "Combo[0]Move[2] == 'punch'\nAdding combo[1] combotype[2] reqkeys[2]\n"),
            std::string::npos);
  EXPECT_NE(out.find("Combo[1]Move[0] == 'right'\nAdding combo[2] combotype[3] reqkeys[1]\n"), std::string::npos);
}

TEST_F(LifeformLoad, CombosWithoutControlsHaveNoSteps) {
  lifeform l;
  std::string out = load(l, "combos=1 combo0moves=2 combo0move=1 combo0move0=down combo0move1=punch\n");
  ASSERT_EQ(l.combos->size(), 1u);
  EXPECT_EQ((*l.combos)[0].reqkeys(), 0);
  EXPECT_NE(out.find("WARNING: can't bind controls because controls aren't set\n"
                     "Adding combo[1] combotype[1] reqkeys[0]\n"),
            std::string::npos);
}

TEST_F(LifeformLoad, ColourSwapsApplyInOrder) {
  std::string p = write_picture(dir, "swap.png", 4, 4, 200, 10, 10);
  lifeform l;
  const SDL_PixelFormat* f = g_video.screen->format;
  l.colour_swaps.push_back(colour_swap{SDL_MapRGB(f, 200, 10, 10), SDL_MapRGB(f, 10, 200, 10)});
  l.colour_swaps.push_back(colour_swap{SDL_MapRGB(f, 10, 200, 10), SDL_MapRGB(f, 10, 10, 200)});
  load(l, "images=1 image0=" + p + "\n");
  ASSERT_EQ(l.images.size(), 1u);
  SDL_Surface* s = l.images[0]->pixels();
  ASSERT_NE(s, nullptr);
  Uint32 pixel = 0;
  std::memcpy(&pixel, s->pixels, s->format->BytesPerPixel);
  Uint8 r, g, b;
  SDL_GetRGB(pixel, s->format, &r, &g, &b);
  EXPECT_EQ(r, 10);
  EXPECT_EQ(g, 10);
  EXPECT_EQ(b, 200);
}

// With costume_on_copies a costumed fighter loaded first leaves no colours in
// the cache: a re-pick or a second player may load the same files plainly.
TEST_F(LifeformLoad, ACostumeLoadedFirstLeavesTheFilesColoursToLaterFighters) {
  std::string p = write_picture(dir, "costume_first.png", 4, 4, 200, 10, 10);
  const SDL_PixelFormat* f = g_video.screen->format;
  auto red_of = [](const lifeform& l) {
    SDL_Surface* s = l.images.empty() ? nullptr : l.images[0]->pixels();
    if (!s) return -1;
    Uint32 pixel = 0;
    std::memcpy(&pixel, s->pixels, s->format->BytesPerPixel);
    Uint8 r, g, b;
    SDL_GetRGB(pixel, s->format, &r, &g, &b);
    return static_cast<int>(r);
  };
  lifeform costumed;
  costumed.costume_on_copies = true;
  costumed.colour_swaps.push_back(colour_swap{SDL_MapRGB(f, 200, 10, 10), SDL_MapRGB(f, 10, 200, 10)});
  load(costumed, "images=1 image0=" + p + "\n");
  lifeform plain;
  load(plain, "images=1 image0=" + p + "\n");
  EXPECT_EQ(red_of(costumed), 10);
  EXPECT_EQ(red_of(plain), 200);
}

TEST_F(LifeformLoad, CountsBeyondTheBoundsAreRefused) {
  lifeform l;
  l.controls = controls;
  std::string file_name;
  std::string out = load(l, "moves=65 images=-1 combos=33\n");
  file_name = dir + "/char" + std::to_string(files) + ".ini";
  EXPECT_NE(out.find("ERROR: [" + file_name + "] key [moves] value [65] refused: must be 0..64\n"), std::string::npos);
  EXPECT_NE(out.find("ERROR: [" + file_name + "] key [images] value [-1] refused"), std::string::npos);
  EXPECT_NE(out.find("key [combos] value [33] refused"), std::string::npos);
  EXPECT_TRUE(l.moves.empty());
  EXPECT_TRUE(l.images.empty());
  EXPECT_TRUE(l.combos->empty());

  lifeform steps;
  steps.controls = controls;
  out = load(steps, "combos=1 combo0moves=1000000 combo0move=2\n");
  EXPECT_NE(out.find("key [combo0moves] value [1000000] refused: must be 0..32\n"), std::string::npos);
  ASSERT_EQ(steps.combos->size(), 1u);
  EXPECT_EQ((*steps.combos)[0].reqkeys(), 0);
}

TEST_F(LifeformLoad, AFileThatCannotBeOpenedGivesDefaults) {
  lifeform l;
  const std::string missing = dir + "/no_such_char.ini";
  std::string out = capture_stdout([&] { l.load(missing.c_str()); });
  EXPECT_NE(out.find("Can't open [" + missing + "]\n"), std::string::npos);
  EXPECT_EQ(l.hp, 0);
  EXPECT_TRUE(l.moves.empty());
  EXPECT_NE(out.find("Final size [0,0]\n"), std::string::npos);
  EXPECT_EQ(l.ai_weights[5], 50);
}

TEST_F(LifeformLoad, MoveAtSaysOncePerSlot) {
  lifeform l;
  std::string out = capture_stdout([&] {
    EXPECT_EQ(l.move_at(12), nullptr);
    EXPECT_EQ(l.move_at(12), nullptr);
    EXPECT_EQ(l.move_at(-3), nullptr);
  });
  EXPECT_EQ(out.find("no move [12]"), out.rfind("no move [12]"));
  EXPECT_NE(out.find("WARNING:"), std::string::npos);
  EXPECT_NE(out.find("no move [-3]"), std::string::npos);
  EXPECT_FALSE(l.start_move(12, 2));
  EXPECT_EQ(l.action, -1);
}

}  // namespace

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "support/test_media.h"
#include "core/quit_request.h"
#include "stage/level.h"
#include "support/test_env.h"

namespace {

int g_presents = 0;
void count_present() { ++g_presents; }

// Runs each load inside a fresh data directory holding a loading animation
// and a background set of four pictures of different sizes.
class LevelLoad : public testing::Test {
 protected:
  void SetUp() override {
    ensure_video();
    dir = make_temp_dir("level");
    char buf[4096];
    old_cwd = getcwd(buf, sizeof buf) ? buf : ".";
    ASSERT_EQ(0, chdir(dir.c_str()));
    write_solid_picture(dir, "rsrc/p0.png", 101, 40, {50, 0, 0});
    write_solid_picture(dir, "rsrc/p1.png", 80, 61, {0, 0, 50});
    write_solid_picture(dir, "rsrc/p2.png", 30, 20, {60, 60, 0});
    write_solid_picture(dir, "rsrc/p3.png", 20, 10, {0, 70, 70});
    write_text_file(dir, "rsrc/set.ini",
                    "width=1234 images=4 image0=rsrc\\p0.png image1=rsrc\\p1.png "
                    "image2=rsrc\\p2.png image3=rsrc\\p3.png" "\n");
    g_presents = 0;
    g_video.before_present = count_present;
  }
  void TearDown() override {
    g_video.before_present = nullptr;
    ASSERT_EQ(0, chdir(old_cwd.c_str()));
  }

  std::string load(level& l, const std::string& level_text) {
    write_text_file(dir, "rsrc/stage.ini", level_text + "\n");
    return capture_stdout([&] { l.load("rsrc\\stage.ini"); });
  }

  std::string dir, old_cwd;
};

TEST_F(LevelLoad, PartsAreInsertedAtTheFront) {
  level l;
  std::string log = load(l, "bgset=rsrc\\set.ini length=2 part0=0 part1=1");
  ASSERT_EQ(2u, l.plist.size());
  EXPECT_EQ(61, l.plist[0].height);  // part 1 first
  EXPECT_EQ(40, l.plist[1].height);  // part 0 last: the ground piece
  EXPECT_EQ(101, l.total_height);
  EXPECT_EQ(2, l.length);
  EXPECT_EQ(4u, l.images.size());
  EXPECT_EQ(1u, l.images[3].no_zoom_cache);
  EXPECT_EQ(1234, l.stage_width);
  EXPECT_EQ(61, l.max_height);
  EXPECT_EQ(101, l.max_width);
  EXPECT_EQ(480 - 40, l.base_y);
  EXPECT_EQ(0, l.loading);
  EXPECT_EQ(-1, l.floor);
  EXPECT_EQ(-1, l.loop);
  EXPECT_NE(std::string::npos,
            log.find("level: insert img#[0] at 0\nAdd layers [0]\nCopying layered segment\n"
                     "level: height [40] onscrsz[40]\n"));
  EXPECT_NE(std::string::npos, log.find("level: height [61] onscrsz[101]\n"));
  EXPECT_NE(std::string::npos, log.find("loading bgset[rsrc\\set.ini]\nload config"));
  EXPECT_NE(std::string::npos, log.find("width[1234] images[4]\n"));
  EXPECT_NE(std::string::npos, log.find("level length is [2/101]\n"));
  EXPECT_NE(std::string::npos, log.find("ml[61] mw[101]\n"));
}

TEST_F(LevelLoad, ParallaxKeysGiveLayerListsAndTicks) {
  level with_layers;
  load(with_layers, "bgset=rsrc\\set.ini length=2 part0=0 part1=1 part1parallax=2 part1parallax1=3");
  int ticks_with = g_presents;
  ASSERT_EQ(2u, with_layers.layered_segments.size());
  EXPECT_EQ(std::vector<int>{3}, with_layers.layered_segments[0]->layers);
  EXPECT_TRUE(with_layers.layered_segments[1]->layers.empty());

  g_presents = 0;
  level without;
  load(without, "bgset=rsrc\\set.ini length=2 part0=0 part1=1");
  EXPECT_EQ(2, ticks_with - g_presents);  // one loading tick per layer key
}

TEST_F(LevelLoad, PartWithLayersButNoPictureAddsNothing) {
  level l;
  std::string log = load(l, "bgset=rsrc\\set.ini length=2 part0=0 part1parallax=1 part1parallax0=2");
  EXPECT_EQ(1u, l.plist.size());
  EXPECT_EQ(1u, l.layered_segments.size());
  EXPECT_TRUE(l.layered_segments[0]->layers.empty());
  EXPECT_NE(std::string::npos, log.find("Added layer[2]\n"));
}

TEST_F(LevelLoad, ScaleTruncatesTheLargestSizes) {
  level plain;
  load(plain, "bgset=rsrc\\set.ini");
  EXPECT_EQ(1.0, plain.scale);
  EXPECT_EQ(101, plain.max_width);
  level halved;
  std::string log = load(halved, "bgset=rsrc\\set.ini scale=0.5");
  EXPECT_EQ(0.5, halved.scale);
  EXPECT_EQ(50, halved.max_width);
  EXPECT_EQ(30, halved.max_height);
  EXPECT_NE(std::string::npos, log.find("Scaling level \n"));
}

TEST_F(LevelLoad, BrokenScalesAreRefused) {
  for (const char* bad : {"0", "-2", "nan", "1e300"}) {
    level l;
    std::string log = load(l, std::string("bgset=rsrc\\set.ini scale=") + bad);
    EXPECT_NE(std::string::npos, log.find("ERROR: [rsrc\\stage.ini] scale=")) << bad;
    EXPECT_EQ(1.0, l.scale) << bad;
    EXPECT_EQ(101, l.max_width) << bad;
  }
}

TEST_F(LevelLoad, LoopFloorAndSortie) {
  write_text_file(dir, "rsrc/wave.ini", "enemies=2 enemy0=4 enemy0count=3 enemy1=7" "\n");
  level l;
  std::string log = load(l, "bgset=rsrc\\set.ini loop=3 floor=2 length=1 part0=0 part0sortie=rsrc\\wave.ini");
  EXPECT_EQ(3, l.loop);
  EXPECT_EQ(2, l.floor);
  EXPECT_NE(std::string::npos, log.find("Has loop\nHas floor\n"));
  EXPECT_EQ(2, l.sorties[0].size);
  EXPECT_EQ(4, l.sorties[0].enemy[0]);
  EXPECT_EQ(7, l.sorties[0].enemy[1]);
  EXPECT_EQ(3, l.sorties[0].count[0]);
  EXPECT_EQ(0, l.sorties[0].count[1]);
  EXPECT_EQ(0, l.sorties[1].size);
  EXPECT_NE(std::string::npos, log.find("SORTIE size [2]\n"));
}

TEST_F(LevelLoad, DiagnosticsWalkStopsAfterTheLastPicture) {
  level l;
  std::string log = load(l, "bgset=rsrc\\set.ini");
  // 40 + 61 + 20 + 10 never reach 480: four pictures, then the walk stops.
  EXPECT_EQ(4, count_of(log, "adding h/w["));
  EXPECT_NE(std::string::npos, log.find("adding h/w[ 40 /101]\n"));
  EXPECT_NE(std::string::npos, log.find("reset at [-349]\n"));
  EXPECT_NE(std::string::npos, log.find("Lets look at the size of onscreen plist [0]\ndone loading\n"));
}

TEST_F(LevelLoad, OutOfRangeIndicesAreRefused) {
  level l;
  std::string log = load(l, "bgset=rsrc\\set.ini floor=4 length=3 part0=0 part1=-1 part2=9 "
                            "part0parallax=2 part0parallax0=4 part0parallax1=1");
  EXPECT_NE(std::string::npos, log.find("ERROR: [rsrc\\stage.ini] floor=4"));
  EXPECT_NE(std::string::npos, log.find("ERROR: [rsrc\\stage.ini] part1=-1"));
  EXPECT_NE(std::string::npos, log.find("ERROR: [rsrc\\stage.ini] part2=9"));
  EXPECT_NE(std::string::npos, log.find("ERROR: [rsrc\\stage.ini] part0parallax0=4"));
  EXPECT_EQ(-1, l.floor);
  ASSERT_EQ(1u, l.plist.size());
  EXPECT_EQ(std::vector<int>{1}, l.layered_segments[0]->layers);
  l.draw();  // nothing out of range is left to read
}

TEST_F(LevelLoad, OversizedSortiesAreClamped) {
  std::string wave = "enemies=50";
  for (int e = 0; e < 50; ++e) wave += " enemy" + std::to_string(e) + "=" + std::to_string(e + 1);
  write_text_file(dir, "rsrc/big.ini", wave + "\n");
  std::string text = "bgset=rsrc\\set.ini length=13 part0sortie=rsrc\\big.ini part12sortie=rsrc\\big.ini";
  level l;
  std::string log = load(l, text);
  EXPECT_NE(std::string::npos, log.find("WARNING: [rsrc\\big.ini] enemies=50"));
  EXPECT_NE(std::string::npos, log.find("ERROR: [rsrc\\stage.ini] part12sortie"));
  EXPECT_EQ(11, l.sorties[0].size);
  EXPECT_EQ(11, l.sorties[0].enemy[10]);
}

TEST_F(LevelLoad, EmptyBackgroundSetLoadsAnEmptyStage) {
  write_text_file(dir, "rsrc/empty.ini", "width=640" "\n");
  level l;
  std::string log = load(l, "bgset=rsrc\\empty.ini floor=0 length=2 part0=0 part1=0");
  EXPECT_NE(std::string::npos, log.find("WARNING: [rsrc\\empty.ini] has no pictures"));
  EXPECT_TRUE(l.plist.empty());
  EXPECT_EQ(480, l.base_y);
  EXPECT_EQ(-1, l.floor);
  l.draw();
}

TEST_F(LevelLoad, HugeCountsAreClamped) {
  write_text_file(dir, "rsrc/huge.ini", "images=2000000000" "\n");
  level l;
  std::string log = load(l, "bgset=rsrc\\huge.ini length=2000000000 part0parallax=2000000000");
  EXPECT_NE(std::string::npos, log.find("WARNING: [rsrc\\huge.ini] images=2000000000"));
  EXPECT_NE(std::string::npos, log.find("WARNING: [rsrc\\stage.ini] length=2000000000"));
  EXPECT_NE(std::string::npos, log.find("WARNING: [rsrc\\stage.ini] part0parallax=2000000000"));
  EXPECT_EQ(static_cast<size_t>(max_level_images), l.images.size());
  EXPECT_EQ(max_level_parts, l.length);
}

TEST_F(LevelLoad, MissingLoadingAnimationKeepsUnitFactor) {
  level l;
  std::string log = load(l, "bgset=rsrc\\set.ini");
  EXPECT_NE(std::string::npos, log.find("Can't load animation from [game\\fighter\\loading.ini]"));
  EXPECT_NE(std::string::npos, log.find("z is [1.000000]\n"));
}

TEST_F(LevelLoad, LoadingAnimationIsOnScreenWhileLoading) {
  write_solid_picture(dir, "game/fighter/load0.png", 320, 30, {0, 0, 222});
  write_text_file(dir, "game/fighter/loading.ini", "images=1 image0=game\\fighter\\load0.png loop=1" "\n");
  SDL_FillRect(g_video.screen, nullptr, 0);
  level l;
  std::string log = load(l, "bgset=rsrc\\set.ini length=1 part0=0");
  EXPECT_NE(std::string::npos, log.find("z is [2.000000]\n"));
  EXPECT_EQ((rgb{0, 0, 222}), screen_pixel(5, 479));
  EXPECT_EQ((rgb{0, 0, 222}), screen_pixel(300, 450));
  EXPECT_EQ((rgb{0, 0, 0}), screen_pixel(330, 470));
  EXPECT_GT(g_presents, 8);
}

void quit_after_third_present() {
  if (g_presents != 3) return;
  for (int k = 0; k < 5; ++k) {  // key events ahead of the close request
    SDL_Event key = {};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = static_cast<SDLKey>(SDLK_a + k);
    SDL_PushEvent(&key);
  }
  SDL_Event quit = {};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
}

TEST_F(LevelLoad, AQuitRequestStopsTheLoadingAfterItsTick) {
  level l;
  g_video.after_present = quit_after_third_present;
  std::string log = load(l, "bgset=rsrc\\set.ini length=1 part0=0");
  g_video.after_present = nullptr;
  EXPECT_TRUE(quit_requested());
  EXPECT_EQ(3, g_presents);           // the tick of picture 0, and nothing after it
  EXPECT_EQ(1u, l.images.size());
  EXPECT_EQ(0, l.loading);
  EXPECT_EQ(std::string::npos, log.find("done loading"));
  SDL_Event left;
  int keys_left = 0;
  while (SDL_PollEvent(&left) == 1) keys_left += left.type == SDL_KEYDOWN;
  EXPECT_EQ(5, keys_left);  // only the close request was taken
  forget_quit_request();
}

}  // namespace

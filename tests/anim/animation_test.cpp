#include "anim/animation.h"
#include "anim/data_bounds.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "support/test_media.h"
#include "gfx/image_cache.h"
#include "fighter/sound_effect.h"
#include "gfx/img_mgr.h"
#include "stage/level.h"
#include "support/test_env.h"

namespace {

const rgb red{200, 0, 0};
const rgb blue{0, 0, 200};
const rgb black{0, 0, 0};

// Each test gets its own directory, pictures and a stage for the effects.
class Animation : public testing::Test {
 protected:
  void SetUp() override {
    ensure_video();
    dir = make_temp_dir("anim");
    a = write_solid_picture(dir, "a.png", 10, 10, red);
    b = write_solid_picture(dir, "b.png", 10, 10, blue);
    saved_level = g_level;
    g_level = &stage;
  }
  void TearDown() override { g_level = saved_level; }

  std::string write_anim(const std::string& body) {
    static int n = 0;
    std::string name = "anim" + std::to_string(n++) + ".ini";
    write_text_file(dir, name, body + "\n");  // the last token needs whitespace after it
    return dir + "/" + name;
  }

  // Plays one tick on a cleared frame and tells which picture showed at (2, 2).
  rgb tick(move& m, int* result = nullptr) {
    clear_frame();
    int r = m.play(0, 0);
    if (result) *result = r;
    return screen_pixel(2, 2);
  }

  std::string dir, a, b;
  level stage;
  level* saved_level = nullptr;
};

TEST_F(Animation, LoopingThreeTwoShowsFramesOverTicks) {
  counted_ptr<animation> anim(new animation);
  anim->load(write_anim("images=2 image0=" + a + " rate0=3 image1=" + b + " rate1=2 loop=1").c_str());
  EXPECT_EQ(1, anim->loop);
  EXPECT_EQ(5, anim->total);
  move m;
  m.add(anim);
  rgb expected[] = {red, red, red, blue, blue, red, red, red, blue, blue, red};
  for (int t = 0; t < 11; ++t) EXPECT_EQ(expected[t], tick(m)) << "tick " << t + 1;
}

TEST_F(Animation, NonLoopingStopsDrawingButPlayGoesOn) {
  counted_ptr<animation> anim(new animation);
  anim->load(write_anim("images=2 image0=" + a + " rate0=3 image1=" + b + " rate1=2").c_str());
  move m;
  m.add(anim);
  rgb expected[] = {red, red, red, blue, blue, black, black, black};
  for (int t = 0; t < 8; ++t) {
    int result = 0;
    EXPECT_EQ(expected[t], tick(m, &result)) << "tick " << t + 1;
    EXPECT_EQ(1, result);
  }
  ASSERT_NE(nullptr, m.anim_stack);
  EXPECT_EQ(0, (*m.anim_stack)[0]->active);
}

TEST_F(Animation, FrameWithoutRateShowsOneTick) {
  counted_ptr<animation> anim(new animation);
  anim->load(write_anim("images=2 image0=" + a + " image1=" + b + " rate1=2 loop=1").c_str());
  move m;
  m.add(anim);
  rgb expected[] = {red, blue, blue, red, blue};
  for (int t = 0; t < 5; ++t) EXPECT_EQ(expected[t], tick(m)) << "tick " << t + 1;
}

// Drawing a frame only shows it; its effects go through the sink it is given.
TEST_F(Animation, FlashAndShakeGoToTheStageThroughTheLiveSink) {
  counted_ptr<animation> anim(new animation);
  std::string body = "images=8";
  for (int i = 0; i < 8; ++i) body += " image" + std::to_string(i) + "=" + a;
  anim->load(write_anim(body + " flash7=200 shake3=6 flash2=90 flashrate2=7").c_str());
  ASSERT_EQ(8u, anim->frames.size());
  anim->draw_frame(0, 0, 7);
  anim->frame_effects(7, muted_frame_effects());
  EXPECT_EQ(0, stage.flash);
  anim->frame_effects(7, live_frame_effects());
  EXPECT_EQ(200, stage.flash);
  EXPECT_EQ(25, stage.flash_rate);
  EXPECT_EQ(0, stage.shake);
  anim->frame_effects(2, live_frame_effects());
  EXPECT_EQ(90, stage.flash);
  EXPECT_EQ(7, stage.flash_rate);
  anim->frame_effects(3, live_frame_effects());
  EXPECT_EQ(6, stage.shake);
  stage.flash = 0;
  anim->frame_effects(0, live_frame_effects());  // a frame without effects leaves the stage alone
  EXPECT_EQ(0, stage.flash);
  EXPECT_EQ(6, stage.shake);
}

TEST_F(Animation, IndexPastTheEndDrawsTheLastFrame) {
  counted_ptr<animation> anim(new animation);
  anim->load(write_anim("images=2 image0=" + a + " image1=" + b).c_str());
  clear_frame();
  anim->draw_frame(0, 0, 57);
  EXPECT_EQ(blue, screen_pixel(2, 2));
}

TEST_F(Animation, UnitStageZoomIgnoresScaleOtherZoomUsesIt) {
  counted_ptr<animation> anim(new animation);
  anim->load(write_anim("images=1 image0=" + a).c_str());
  anim->scale = 2.0;
  clear_frame();
  anim->draw_frame(0, 100, 0);
  EXPECT_EQ(red, screen_pixel(9, 105));
  EXPECT_EQ(black, screen_pixel(15, 105));

  stage.zoom = 0.999;  // not exactly 1: scale applies, bottom edge kept at y + 10
  clear_frame();
  anim->draw_frame(0, 100, 0);
  EXPECT_EQ(red, screen_pixel(15, 105));
  EXPECT_EQ(black, screen_pixel(25, 105));
}

TEST_F(Animation, SoundStartsOnEveryTickOfItsFrame) {
  ASSERT_EQ(1, open_sound_mixer());
  Mix_HaltChannel(-1);
  std::string wav = write_wav(dir, "long.wav", 22050 * 3);
  counted_ptr<animation> anim(new animation);
  anim->load(write_anim("images=2 image0=" + a + " rate0=3 sound0=" + wav + " image1=" + b).c_str());
  EXPECT_EQ(1, anim->frames[0].has_sound);
  EXPECT_EQ(0, anim->frames[1].has_sound);
  EXPECT_EQ(nullptr, anim->frames[1].sound);
  move m;
  m.add(anim);
  for (int t = 0; t < 3; ++t) m.play(0, 0);
  EXPECT_EQ(3, Mix_Playing(-1));
  m.play(0, 0);  // the silent frame
  EXPECT_EQ(3, Mix_Playing(-1));
  Mix_HaltChannel(-1);
}

TEST_F(Animation, ColourSwapsStayInTheCachedPicture) {
  std::string c = write_solid_picture(dir, "c.png", 4, 4, red);
  counted_ptr<animation> first(new animation);
  SDL_PixelFormat* f = g_video.screen->format;
  first->colour_swaps.push_back({SDL_MapRGB(f, 200, 0, 0), SDL_MapRGB(f, 0, 0, 200)});
  first->load(write_anim("images=1 image0=" + c).c_str());
  counted_ptr<animation> second(new animation);
  second->load(write_anim("images=1 image0=" + c).c_str());
  clear_frame();
  first->draw_frame(0, 0, 0);
  EXPECT_EQ(blue, screen_pixel(1, 1));
  clear_frame();
  second->draw_frame(0, 0, 0);
  EXPECT_EQ(blue, screen_pixel(1, 1));  // the stored picture was changed
}

// With costume_on_copies the swaps recolour the animation's own copies and
// the cached picture keeps the file's colours for a later plain load.
TEST_F(Animation, ACostumeOnCopiesLeavesTheCachedPictureAlone) {
  std::string c = write_solid_picture(dir, "c2.png", 4, 4, red);
  counted_ptr<animation> first(new animation);
  SDL_PixelFormat* f = g_video.screen->format;
  first->colour_swaps.push_back({SDL_MapRGB(f, 200, 0, 0), SDL_MapRGB(f, 0, 0, 200)});
  first->costume_on_copies = true;
  first->load(write_anim("images=1 image0=" + c).c_str());
  counted_ptr<animation> second(new animation);
  second->load(write_anim("images=1 image0=" + c).c_str());
  clear_frame();
  first->draw_frame(0, 0, 0);
  EXPECT_EQ(blue, screen_pixel(1, 1));
  clear_frame();
  second->draw_frame(0, 0, 0);
  EXPECT_EQ(red, screen_pixel(1, 1));
}

TEST_F(Animation, FramesOwnTheirPictureAndShareTheSample) {
  ASSERT_EQ(1, open_sound_mixer());
  std::string wav = write_wav(dir, "s.wav", 500);
  counted_ptr<animation> anim(new animation);
  anim->load(write_anim("images=1 image0=" + a + " sound0=" + wav + " rate0=4 fire0=1").c_str());
  const animation_frame& frame = anim->frames[0];
  animation_frame copy(frame);
  ASSERT_NE(nullptr, copy.image);
  EXPECT_NE(frame.image, copy.image);
  EXPECT_NE(frame.image->pixels(), copy.image->pixels());
  ASSERT_NE(nullptr, copy.sound);
  EXPECT_NE(frame.sound, copy.sound);
  EXPECT_EQ(frame.sound->sample(), copy.sound->sample());
  EXPECT_EQ(4, copy.rate);
  EXPECT_EQ(1, copy.fire);
  animation_frame assigned;
  std::string log = capture_stdout([&] { assigned = frame; });
  EXPECT_EQ("Assigning frames\n", log);
  EXPECT_EQ(frame.sound->sample(), assigned.sound->sample());
  EXPECT_EQ(4, assigned.rate);
}

TEST_F(Animation, MissingFileLeavesNoFramesAndAMoveThatDrawsNothing) {
  counted_ptr<animation> anim(new animation);
  std::string path = dir + "/nothing.ini";
  std::string log = capture_stdout([&] { anim->load(path.c_str()); });
  EXPECT_NE(std::string::npos, log.find("Can't load animation from [" + path + "]"));
  EXPECT_EQ(std::string::npos, log.find("Can't load animation from [" + path + "]\n"));
  EXPECT_TRUE(anim->frames.empty());
  move m;
  m.add(anim);
  anim->loop = 1;
  for (int t = 0; t < 3; ++t) EXPECT_EQ(1, m.play(0, 0));
  ASSERT_NE(nullptr, m.anim_stack);
  EXPECT_EQ(0, (*m.anim_stack)[0]->active);
  anim->draw_frame(0, 0, 0);  // no frame 0 to read
}

TEST_F(Animation, HugeFrameCountIsClampedQuickly) {
  counted_ptr<animation> anim(new animation);
  std::string path = write_anim("images=2000000000 image0=" + a);
  auto start = std::chrono::steady_clock::now();
  std::string log = capture_stdout([&] { anim->load(path.c_str()); });
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_NE(std::string::npos, log.find("WARNING: [" + path + "] images=2000000000"));
  EXPECT_EQ(static_cast<size_t>(max_animation_frames), anim->frames.size());
  EXPECT_LT(seconds, 20.0);
}

TEST_F(Animation, NegativeCountAndAbsurdRatesAreReported) {
  counted_ptr<animation> anim(new animation);
  std::string path = write_anim("images=-5");
  std::string log = capture_stdout([&] { anim->load(path.c_str()); });
  EXPECT_NE(std::string::npos, log.find("ERROR: [" + path + "] images=-5"));
  EXPECT_TRUE(anim->frames.empty());

  anim = new animation;  // a reload would keep the first file's entries
  path = write_anim("images=2 image0=" + a + " rate0=2000000000 image1=" + a + " rate1=2000000000 shake0=-2147483647");
  log = capture_stdout([&] { anim->load(path.c_str()); });
  EXPECT_NE(std::string::npos, log.find("WARNING: [" + path + "] rate0=2000000000"));
  EXPECT_NE(std::string::npos, log.find("WARNING: [" + path + "] shake0=-2147483647"));
  EXPECT_EQ(2 * max_frame_rate, anim->total);
}

TEST_F(Animation, NewStackTakesFrameZeroSizesAndLoopFlags) {
  std::string tall = write_solid_picture(dir, "tall.png", 6, 30, red);
  counted_ptr<animation> one(new animation);
  one->load(write_anim("images=2 image0=" + a + " rate0=4 image1=" + tall).c_str());
  counted_ptr<animation> two(new animation);
  two->load(write_anim("images=1 image0=" + tall + " loop=1").c_str());
  move m;
  m.add(one);
  m.add(two);
  std::unique_ptr<anim_stack> stack = m.new_anim_stack();
  ASSERT_NE(nullptr, stack);
  ASSERT_EQ(2u, stack->size());
  EXPECT_EQ(10, m.max_width);
  EXPECT_EQ(30, m.max_height);
  EXPECT_EQ(4, (*stack)[0]->countdown);
  EXPECT_EQ(0, (*stack)[0]->loop);
  EXPECT_EQ(1, (*stack)[1]->loop);
  EXPECT_EQ(two.get(), (*stack)[1]->animation);
}

}  // namespace

TEST_F(Animation, FreedFramesLetGoOfTheCachedPixels) {
  auto load = [&] {
    auto* anim = new animation;
    anim->load(write_anim("images=3 image0=" + a + " image1=" + a + " image2=" + a).c_str());
    return anim;
  };
  animation* first = load();
  auto* cached = static_cast<img_mgr*>(image_cache.names.lookup(a.c_str()));
  ASSERT_NE(nullptr, cached);
  ASSERT_NE(nullptr, cached->pixels());
  const int users = cached->pixels()->refcount;
  animation* second = load();
  EXPECT_GT(cached->pixels()->refcount, users);
  delete second;
  // Every frame's copy went, with the surface it showed the cached pixels through.
  EXPECT_EQ(users, cached->pixels()->refcount);
  delete first;
}

// Drawing a lifeform: special animations tick by tick (with their firing
// frames), or the posture image with its on-screen test and counters.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <vector>

#include "app/video.h"
#include "fighter/path.h"
#include "fighter/projectile.h"
#include "fighter_scene.h"
#include "gfx/img_mgr.h"
#include "support/test_media.h"

namespace {

class LifeformDraw : public fighter_scene {
 protected:
  void SetUp() override {
    fighter_scene::SetUp();
    std::string f0 = write_picture(dir, "f0.png", 40, 60, 1, 1, 1);
    frame_images = "image0=" + f0 + " image1=" + f0 + " image2=" + f0 + "\n";
    shooter.images.push_back(picture("stand.png", 50, 80));
    shooter.moves.assign(move_slot_count, nullptr);
    shooter.moves[projectile_move_slot] =
        make_move("bullet.ini", "images=1 image0=" + write_picture(dir, "b.png", 30, 10, 9, 9, 9) + "\n");
    shooter.x = 300;
    shooter.y = 200;
    shooter.team = 1;
    shooter.facing = 0;
    enlist(shooter);
  }
  // Special animation in slot 12 from `keys` (frame pictures added here).
  void start_special(const std::string& keys) {
    shooter.moves[12] = make_move("special.ini", frame_images + keys + "\n");
    capture_stdout([&] { ASSERT_TRUE(shooter.start_move(12, 2)); });
  }
  // One frame of the shooter: drawn, then advanced.
  std::string frame() {
    return capture_stdout([&] {
      shooter.draw();
      shooter.advance(live_frame_effects());
    });
  }

  std::string frame_images;
  lifeform shooter;
};

TEST_F(LifeformDraw, FireOnFrame1SpawnsOneBulletWhenLeavingIt) {
  start_special("images=3 rate0=1 rate1=1 rate2=1 fire1=1");
  frame();
  EXPECT_EQ(lifeform_list.size(), 1u);
  frame();  // leaves frame 1
  EXPECT_EQ(lifeform_list.size(), 2u);
  frame();  // ends the animation
  EXPECT_EQ(lifeform_list.size(), 2u);
  EXPECT_EQ(shooter.action, -1);
  frame();
  EXPECT_EQ(lifeform_list.size(), 2u);
}

// What the advances handed on, one line per effect, with the frame it came in.
struct effect_log final : frame_effect_sink {
  std::vector<std::string> lines;
  int frame = 0;
  void sound(frame_sound&, int) override { say("sound"); }
  void shake(int amplitude) override { say("shake " + std::to_string(amplitude)); }
  void flash(int strength, int fade) override { say("flash " + std::to_string(strength) + "/" + std::to_string(fade)); }
  void say(const std::string& what) { lines.push_back(std::to_string(frame) + " " + what); }
};

// Drawing shows the fight and changes nothing: an attack whose frames sound,
// shake, flash and fire, played with 0, 1 or 3 draws before each frame's
// advance, ends in the same state, and each effect comes once per tick.
TEST_F(LifeformDraw, DrawingAnyNumberOfTimesLeavesWhatTheAdvancesMake) {
  shooter.moves[slot_punch] = make_move(
      "punch.ini", frame_images + "images=3 rate0=2 sound0=" + write_wav(dir, "clang.wav", 2205) +
                       " shake0=5 rate1=1 fire1=1 flash1=200 flashrate1=9 rate2=2\n");
  ASSERT_NE(nullptr, shooter.moves[slot_punch]->animations[0]->frames[0].sound);
  weapon gun;
  gun.streams.emplace_back();
  shooter.weapons.push_back(gun);

  auto play = [&](int draws, effect_log& effects) {
    while (lifeform_list.size() > 1) {
      delete lifeform_list.back();
      lifeform_list.pop_back();
    }
    shooter.clear_anim_stack();
    shooter.action = action_none;
    shooter.age = 0;
    shooter.weapons[0].streams[0].reload_counter = 4;
    stage.shake = stage.flash = 0;
    capture_stdout([&] {
      ASSERT_TRUE(shooter.start_move(slot_punch, action_attack));
      for (effects.frame = 1; effects.frame <= 8; ++effects.frame) {
        for (int d = 0; d < draws; ++d) shooter.draw();
        shooter.advance(effects);
      }
    });
    std::ostringstream state;
    state << "action " << shooter.action << " state " << shooter.state << " size " << shooter.width << "x"
          << shooter.height << " age " << shooter.age << " reload " << shooter.weapons[0].streams[0].reload_counter
          << " cooldown " << shooter.stream_cooldowns[0][0] << " stack " << shooter.anim_stack->size()
          << " stage " << stage.shake << "/" << stage.flash << " lifeforms " << lifeform_list.size();
    for (size_t k = 1; k < lifeform_list.size(); ++k) {
      const lifeform& b = *lifeform_list[k];
      state << " bullet at " << b.x << "," << b.y << " frame " << (*b.anim_stack)[0]->index << "/"
            << (*b.anim_stack)[0]->countdown;
    }
    return state.str();
  };

  effect_log once;
  const std::string drawn_once = play(1, once);
  EXPECT_EQ(drawn_once,
            "action -1 state 0 size 50x80 age 3 reload 1 cooldown 1 stack 0 stage 0/0 lifeforms 2"
            " bullet at 300,250 frame 0/0");
  EXPECT_EQ(once.lines, (std::vector<std::string>{"1 sound", "1 shake 5", "2 sound", "2 shake 5", "3 flash 200/9"}));
  for (int draws : {0, 3}) {
    effect_log effects;
    EXPECT_EQ(play(draws, effects), drawn_once) << draws << " draws a frame";
    EXPECT_EQ(effects.lines, once.lines) << draws << " draws a frame";
  }
}

// The right-hand fighter faces left: its attacks must be mirrored the same way.
TEST_F(LifeformDraw, SpecialAnimationFramesTurnWithTheFacing) {
  for (int facing : {1, 0, 1}) {
    start_special("images=1 rate0=5");
    shooter.facing = facing;
    frame();
    animation* a = shooter.moves[12]->animations[0].get();
    EXPECT_EQ(a->flipped, facing);
    EXPECT_EQ(a->frames[0].image->flipped, static_cast<uint32_t>(facing));
  }
}

TEST_F(LifeformDraw, ABulletHasTheFieldsOfTheTable) {
  start_special("images=1 rate0=1 fire0=1");
  frame();
  ASSERT_EQ(lifeform_list.size(), 2u);
  const lifeform& b = *lifeform_list[1];
  EXPECT_EQ(b.team, 1);
  EXPECT_EQ(b.facing, 0);
  EXPECT_EQ(b.x, 300);
  EXPECT_EQ(b.y, 250);
  EXPECT_EQ(b.ax, -1.0);
  EXPECT_EQ(b.action, 0);
  EXPECT_EQ(b.state, 4);
  EXPECT_EQ(b.kind, 3);
  EXPECT_EQ(b.edge_death, 1);
  EXPECT_EQ(b.speed, 0.1);
  EXPECT_EQ(b.damage, 15);
  EXPECT_EQ(b.hp, 1);
  EXPECT_EQ(b.width, 30);  // slot 14's size after building its stack
  EXPECT_EQ(b.height, 10);
  ASSERT_EQ(b.moves.size(), 15u);
  ASSERT_NE(b.moves[14], nullptr);
  EXPECT_EQ(b.moves[0], b.moves[14]);
  EXPECT_EQ(b.moves[1], b.moves[14]);
  EXPECT_NE(b.moves[14], shooter.moves[projectile_move_slot]);  // a copy...
  EXPECT_EQ(b.moves[14]->animations[0].get(), shooter.moves[projectile_move_slot]->animations[0].get());  // ...sharing
  for (int s = 2; s < 14; ++s) EXPECT_EQ(b.moves[s], nullptr);
  ASSERT_EQ(b.anim_stack->size(), 1u);
  EXPECT_EQ(b.images.size(), 1u);
  ASSERT_NE(b.path, nullptr);
  EXPECT_EQ(b.path, b.own_path.get());
  EXPECT_EQ(b.path->step_count, 1);
  EXPECT_EQ(b.path->steps[0].mode, mode_straight);
}

// A bullet plays a copy of the shooter's slot 13 move, holding its animation
// through it; freeing the bullet (lifeform_list's own) lets go of it again.
TEST_F(LifeformDraw, FreedBulletsLetGoOfTheShootersAnimation) {
  const animation* shared = shooter.moves[projectile_move_slot]->animations[0].get();
  const int32_t held = shared->ref_count;
  for (int i = 0; i < 3; ++i) {
    start_special("images=1 rate0=1 fire0=1");
    frame();
    ASSERT_EQ(lifeform_list.size(), 2u);
    EXPECT_GT(shared->ref_count, held);
    delete lifeform_list.back();
    lifeform_list.pop_back();
  }
  EXPECT_EQ(shared->ref_count, held);
}

TEST_F(LifeformDraw, AShooterFacingRightDrivesItsBulletRight) {
  shooter.facing = 1;
  start_special("images=1 rate0=1 fire0=1");
  frame();
  ASSERT_EQ(lifeform_list.size(), 2u);
  EXPECT_EQ(lifeform_list[1]->ax, 1.0);
}

TEST_F(LifeformDraw, FramesPlayForTheirRatesAndTheEndRestoresThePose) {
  start_special("images=3 rate0=2 rate1=1 rate2=3");
  EXPECT_EQ(shooter.width, 40);
  const unsigned expected_index[5] = {0, 1, 2, 2, 2};  // index after draws 1..5
  for (int d = 0; d < 5; ++d) {
    frame();
    ASSERT_EQ(shooter.anim_stack->size(), 1u) << "draw " << d + 1;
    EXPECT_EQ((*shooter.anim_stack)[0]->index, expected_index[d]) << "draw " << d + 1;
  }
  EXPECT_EQ(shooter.action, 2);
  shooter.state = 4;
  frame();  // the sixth
  EXPECT_EQ(shooter.action, -1);
  EXPECT_EQ(shooter.state, 0);
  EXPECT_TRUE(shooter.anim_stack->empty());
  EXPECT_EQ(shooter.width, 50);
  EXPECT_EQ(shooter.height, 80);
  EXPECT_EQ(shooter.age, 0);  // age stands still while a special animation plays
}

TEST_F(LifeformDraw, ALoopingAnimationFiresOncePerLoop) {
  start_special("images=2 loop=1 rate0=1 rate1=1 fire1=1");
  for (int d = 0; d < 6; ++d) frame();
  EXPECT_EQ(lifeform_list.size(), 4u);
  EXPECT_EQ(shooter.action, 2);
}

TEST_F(LifeformDraw, FireOnTheLastFrameSpawnsInTheEndingDraw) {
  start_special("images=3 rate0=1 rate1=1 rate2=1 fire2=1");
  frame();
  frame();
  EXPECT_EQ(lifeform_list.size(), 1u);
  frame();
  EXPECT_EQ(lifeform_list.size(), 2u);
  EXPECT_EQ(shooter.action, -1);
}

TEST_F(LifeformDraw, AShooterWithoutItsBulletMoveFiresNothing) {
  shooter.moves[projectile_move_slot] = nullptr;
  start_special("images=1 loop=1 rate0=1 fire0=1");
  std::string out = frame() + frame();
  EXPECT_EQ(lifeform_list.size(), 1u);
  EXPECT_EQ(out.find("no move [13]"), out.rfind("no move [13]"));
  EXPECT_NE(out.find("no move [13]"), std::string::npos);
}

TEST_F(LifeformDraw, AMissingPostureImageShowsImage0) {
  shooter.state = 6;
  shooter.facing = 1;
  std::string out = frame();
  EXPECT_EQ(out, "Asset for state [6] not set\n");
  EXPECT_EQ(shooter.images[0]->flipped, 1u);  // drawn, so turned to the facing
  EXPECT_EQ(shooter.age, 1);
}

TEST_F(LifeformDraw, NoImagesDrawsNothingAfterTheMessage) {
  lifeform bare;
  bare.x = 10;
  std::string out = capture_stdout([&] {
    bare.draw();
    bare.advance(live_frame_effects());
  });
  EXPECT_EQ(out, "Asset for state [0] not set\n");
  EXPECT_EQ(bare.age, 1);
}

TEST_F(LifeformDraw, OnScreenBounds) {
  shooter.facing = 1;
  stage.scroll_x = 100;
  shooter.width = 50;
  shooter.x = 50;  // right edge exactly at the camera: drawn
  frame();
  EXPECT_EQ(shooter.images[0]->flipped, 1u);

  shooter.facing = 0;
  stage.zoom = 2.0;
  shooter.x = 100 + g_video.screen->w / 2;  // left edge at the screen's right edge: not drawn
  frame();
  EXPECT_EQ(shooter.images[0]->flipped, 1u);
  shooter.x -= 1;
  frame();
  EXPECT_EQ(shooter.images[0]->flipped, 0u);
  shooter.x = 49;  // right edge one left of the camera: not drawn
  shooter.facing = 1;
  frame();
  EXPECT_EQ(shooter.images[0]->flipped, 0u);
  EXPECT_EQ(shooter.age, 4);  // age counts every plain draw, on screen or not
}

Uint32 screen_pixel(int x, int y) {
  SDL_Surface* s = g_video.screen;
  SDL_LockSurface(s);
  Uint32 v = 0;
  std::memcpy(&v, static_cast<Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel,
              s->format->BytesPerPixel);
  SDL_UnlockSurface(s);
  Uint8 r, g, b;
  SDL_GetRGB(v, s->format, &r, &g, &b);
  return (r << 16) | (g << 8) | b;
}

// The gauge over the fighter shows while gauge_count is above 0; drawing it
// uses nothing up.
TEST_F(LifeformDraw, TheGaugeOverTheFighterShowsWhileGaugeCountIsAbove0) {
  shooter.hp = shooter.max_hp = 10;
  const int top_line_x = 300, top_line_y = 185;  // the bar's top edge, 15 above the fighter
  for (int count : {1, 0, 1}) {
    shooter.gauge_count = count;
    SDL_FillRect(g_video.screen, nullptr, 0);
    frame();
    frame();
    EXPECT_EQ(screen_pixel(top_line_x, top_line_y), count > 0 ? 0xFFFFFFu : 0u) << count;
    EXPECT_EQ(shooter.gauge_count, count);
  }
}

TEST_F(LifeformDraw, ScaleBelowOneDrawsZoomedAtXOverScale) {
  lifeform l;
  l.images.push_back(picture("red.png", 20, 20, 250, 0, 0));
  l.width = 20;
  l.x = 10;
  l.y = 10;
  l.facing = 0;
  SDL_FillRect(g_video.screen, nullptr, 0);
  capture_stdout([&] { l.draw(); });
  EXPECT_EQ(screen_pixel(10, 10), 0xFA0000u);
  EXPECT_EQ(screen_pixel(29, 29), 0xFA0000u);

  SDL_FillRect(g_video.screen, nullptr, 0);
  l.scale = 0.5;
  capture_stdout([&] { l.draw(); });
  // Handed x / 0.5 = 20 in unzoomed units: a 10 x 10 picture at (10, 20), bottom edge kept.
  EXPECT_EQ(screen_pixel(10, 10), 0u);
  EXPECT_EQ(screen_pixel(17, 25), 0xFA0000u);
  EXPECT_EQ(screen_pixel(8, 25), 0u);
  EXPECT_EQ(screen_pixel(20, 25), 0u);
}

}  // namespace

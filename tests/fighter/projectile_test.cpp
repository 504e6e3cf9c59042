// Weapons and streams: firing on request, reload counters, start positions,
// the projectile copy.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>

#include "core/log.h"
#include "core/seams.h"
#include "fighter/path.h"
#include "fighter/projectile.h"
#include "fighter_scene.h"
#include "gfx/img_mgr.h"

namespace {

int fixed_roll = 0;
int fixed_rand() { return fixed_roll; }

class Projectile : public fighter_scene {
 protected:
  void SetUp() override {
    fighter_scene::SetUp();
    carrier.images.push_back(picture("carrier.png", 100, 50));
    carrier.x = 200;
    carrier.y = 300;
    carrier.team = 1;
    straight.add_step(mode_straight);
    carrier.path = &straight;
    enlist(carrier);
    capture_stdout([&] { bolt = cache_ref<img_mgr>::of(image_cache.fetch(write_picture(dir, "bolt.png", 20, 20, 200, 30, 30).c_str())); });
  }
  void TearDown() override {
    reset_seams();
    fighter_scene::TearDown();
  }
  stream ready_stream(int reload) {
    stream s;
    s.image = bolt;
    s.reload = reload;
    s.damage = 7;
    s.vx = 0.5;
    s.ax = 2.0;
    s.ay = -0.5;
    return s;
  }
  // Two weapons: mode 7 leaves secondary_trigger at -1, which fires weapon 1.
  void arm(const stream& second) {
    weapon first;
    first.streams.push_back(ready_stream(5));
    weapon w;
    w.streams.push_back(second);
    capture_stdout([&] {
      ASSERT_TRUE(attach_weapon(carrier, first));
      ASSERT_TRUE(attach_weapon(carrier, w));
    });
  }
  std::string steer() {
    return capture_stdout([&] { carrier.steer(muted_frame_effects()); });
  }

  lifeform carrier;
  path straight;
  cache_ref<img_mgr> bolt;
};

TEST_F(Projectile, AStreamWithReload10FiresAgainAfterTenPlainFrames) {
  arm(ready_stream(10));
  steer();
  ASSERT_EQ(lifeform_list.size(), 2u);
  steer();
  EXPECT_EQ(lifeform_list.size(), 2u);
  for (int d = 0; d < 9; ++d) capture_stdout([&] { carrier.advance(muted_frame_effects()); });
  steer();
  EXPECT_EQ(lifeform_list.size(), 2u);  // one frame still to wait
  EXPECT_EQ(carrier.stream_cooldowns[1][0], 1);
  capture_stdout([&] { carrier.advance(muted_frame_effects()); });
  steer();
  EXPECT_EQ(lifeform_list.size(), 3u);
  EXPECT_EQ(carrier.stream_cooldowns[1][0], 10);
}

TEST_F(Projectile, CountersStandStillWhileASpecialAnimationPlays) {
  arm(ready_stream(3));
  steer();
  carrier.moves.assign(move_slot_count, nullptr);
  carrier.moves[0] = make_move("hit.ini", "images=1 loop=1 image0=" + write_picture(dir, "h.png", 8, 8, 5, 5, 5) + "\n");
  capture_stdout([&] { ASSERT_TRUE(carrier.start_move(0, 0)); });
  for (int d = 0; d < 5; ++d) capture_stdout([&] { carrier.advance(muted_frame_effects()); });
  EXPECT_EQ(carrier.stream_cooldowns[1][0], 3);
}

TEST_F(Projectile, AProjectileStartsCentredWithTheFieldsOfItsStream) {
  arm(ready_stream(10));
  std::string out = steer();
  ASSERT_EQ(lifeform_list.size(), 2u);
  const lifeform& p = *lifeform_list[1];
  EXPECT_EQ(p.x, 240);  // 200 + (100 / 2 - 20 / 2)
  // aim_y 0: y + 50 / 2 - 0.5 x (20 / 2)
  EXPECT_EQ(p.y, 320);
  ASSERT_EQ(p.images.size(), 2u);
  EXPECT_EQ(p.images[0], bolt.get());
  EXPECT_EQ(p.images[1], bolt.get());
  EXPECT_EQ(p.hp, 1);
  EXPECT_EQ(p.max_hp, 1);
  EXPECT_EQ(p.path, nullptr);
  EXPECT_EQ(p.kind, 3);
  EXPECT_EQ(p.edge_death, 1);
  EXPECT_EQ(p.target, -1);
  EXPECT_EQ(p.gauge_count, -1);
  EXPECT_EQ(p.team, 1);
  EXPECT_EQ(p.damage, 7);
  EXPECT_EQ(p.vx, 0.5);
  EXPECT_EQ(p.ax, 2.0);
  EXPECT_EQ(p.ay, -0.5);
  char copy_line[64];
  std::snprintf(copy_line, sizeof copy_line, "]to[%x]\n", log_addr(&p));
  const size_t before = out.find("Before new proj\nCopy cstr lifeform [");
  ASSERT_NE(before, std::string::npos);
  const size_t assigning = out.find("Assigning lifeform [", before);
  ASSERT_NE(assigning, std::string::npos);
  EXPECT_NE(out.find(copy_line, before), std::string::npos);
  EXPECT_NE(out.find(copy_line, assigning), std::string::npos);
  // The projectile has no path: it asks for nothing and says so.
  lifeform* proj = lifeform_list[1];
  char warning[96];
  std::snprintf(warning, sizeof warning, "Warning [projectile]: This lifeform does not have a path [%x]\n",
                log_addr(proj));
  EXPECT_EQ(capture_stdout([&] { proj->steer(muted_frame_effects()); }), warning);
}

TEST_F(Projectile, OffsetsAimAndJitterMoveTheStart) {
  stream s = ready_stream(0);
  s.x_offset = 5;
  s.y_offset = -3;
  s.jitter = 1;
  arm(s);
  fixed_roll = 6;  // 6 % 7 - 3 = +3
  seams().random = fixed_rand;
  straight.steps[0].mode = mode_circle;  // fires with aim_y 1.0, no random draws
  carrier.vy = 0.0;
  steer();
  ASSERT_GE(lifeform_list.size(), 2u);
  const lifeform& p = *lifeform_list.back();
  EXPECT_EQ(p.x, 200 + 40 + 5 + 3);
  // 300 + 25 + 0.5 x 50 x 1 - 20 x trunc(vy) x 1 - 0.5 x (10 - 0.5 x 20 x 1), then the offset
  const double vy = carrier.vy;  // the circle's request, copied back before firing
  const int expected = -3 + static_cast<int>(300 + 25 + 25.0 - 20 * std::trunc(vy) - 0.5 * (10 - 10.0));
  EXPECT_EQ(p.y, expected);
  EXPECT_EQ(p.vy, 1.0 + s.vy);
}

// The start is in world pixels, whatever the camera shows; the vertical terms
// all count when the aim is neither straight down nor level.
TEST_F(Projectile, TheStartIgnoresTheCameraAndKeepsEveryVerticalTerm) {
  stage.scroll_x = 123;
  stage.scroll_y = -40;
  stage.zoom = 0.7;
  carrier.width = 100;
  carrier.height = 50;
  carrier.vy = 2.7;  // truncated to 2
  straight.aim_x = 0.0;
  straight.aim_y = -0.5;
  weapon w;
  w.streams.push_back(ready_stream(0));
  capture_stdout([&] { fire_weapon(carrier, w, muted_frame_effects()); });
  ASSERT_EQ(lifeform_list.size(), 2u);
  const lifeform& p = *lifeform_list.back();
  EXPECT_EQ(p.x, 200 + 50 - 10);
  // 300 + 25 + 0.5 x 50 x -0.5 - 20 x 2 x -0.5 - 0.5 x (10 - 0.5 x 20 x -0.5)
  //   = 325 - 12.5 + 20 - 7.5
  EXPECT_EQ(p.y, 325);
}

TEST_F(Projectile, PrimaryTriggerNamesTheWeapon) {
  arm(ready_stream(4));
  carrier.weapons[1].disabled = 0;
  straight.primary_trigger = 1;
  straight.secondary_trigger = -1;
  std::string out = capture_stdout([&] { fire_weapons(carrier, muted_frame_effects()); });
  EXPECT_EQ(out.find("fireing [1]\n"), 0u);
  EXPECT_EQ(carrier.width, 100);  // sized from the first image before firing
  EXPECT_EQ(carrier.stream_cooldowns[0][0], 5);
  EXPECT_EQ(carrier.stream_cooldowns[1][0], 4);  // the secondary fired too (-1 counts)
  straight.primary_trigger = 3;  // no third weapon: nothing
  straight.secondary_trigger = 0;
  EXPECT_EQ(capture_stdout([&] { fire_weapons(carrier, muted_frame_effects()); }), "");
}

TEST_F(Projectile, DisabledAndEmptyWeaponsSaySo) {
  arm(ready_stream(4));
  carrier.weapons[1].disabled = 1;
  EXPECT_EQ(steer(), "Weapon 1 failed test!!\n");
  EXPECT_EQ(lifeform_list.size(), 1u);

  carrier.weapons[1].disabled = 0;
  carrier.weapons[1].streams.clear();
  char fault[96];
  std::snprintf(fault, sizeof fault, "FAULT: This weapon does not have any streams [%x]\n",
                log_addr(&carrier.weapons[1]));
  EXPECT_EQ(steer(), fault);
}

TEST_F(Projectile, DisabledStreamsNeverFire) {
  stream s = ready_stream(0);
  s.disabled = 1;
  arm(s);
  steer();
  steer();
  EXPECT_EQ(lifeform_list.size(), 1u);
}

TEST_F(Projectile, AttachRefusesAFourthWeaponAndClampsStreams) {
  weapon w;
  w.streams.resize(12);
  std::string out = capture_stdout([&] {
    EXPECT_TRUE(attach_weapon(carrier, w));
    EXPECT_TRUE(attach_weapon(carrier, weapon()));
    EXPECT_TRUE(attach_weapon(carrier, weapon()));
    EXPECT_FALSE(attach_weapon(carrier, weapon()));
  });
  EXPECT_EQ(carrier.weapons.size(), 3u);
  EXPECT_EQ(carrier.weapons[0].streams.size(), 11u);
  EXPECT_NE(out.find("WARNING:"), std::string::npos);
  EXPECT_NE(out.find("ERROR:"), std::string::npos);
}

TEST_F(Projectile, ACopySharesPathAndCombosAndDuplicatesMoves) {
  carrier.moves.assign(2, nullptr);
  carrier.moves[1] = make_move("m.ini", "images=1 image0=" + write_picture(dir, "m.png", 8, 8, 5, 5, 5) + "\n");
  carrier.combos->push_back(combo());
  lifeform* copy = nullptr;
  std::string out = capture_stdout([&] { copy = new lifeform(carrier); });
  char expected[128];
  std::snprintf(expected, sizeof expected, "Copy cstr lifeform [%x]to[%x]\nAssigning lifeform [%x]to[%x]\n",
                log_addr(&carrier), log_addr(copy), log_addr(&carrier), log_addr(copy));
  EXPECT_EQ(out, expected);
  EXPECT_EQ(copy->path, carrier.path);
  EXPECT_FALSE(copy->own_path);
  EXPECT_EQ(copy->combos, carrier.combos);
  EXPECT_EQ(copy->moves[0], nullptr);
  ASSERT_NE(copy->moves[1], nullptr);
  EXPECT_NE(copy->moves[1], carrier.moves[1]);
  EXPECT_EQ(copy->moves[1]->animations[0].get(), carrier.moves[1]->animations[0].get());
  EXPECT_EQ(copy->images, carrier.images);
  delete copy;  // must leave the source's combos alone
  EXPECT_EQ(carrier.combos->size(), 1u);
}

}  // namespace

// Body contact, projectile strikes and the overlap test on mapped boxes.
#include <gtest/gtest.h>

#include "fight/hit_detection.h"
#include "app/fight/object_update.h"
#include "app/fight/fight_scene.h"

namespace {

using HitDetection = fight_scene;

lifeform& projectile(int x, int y, int team) {
  lifeform* b = new lifeform;
  b->kind = 3;
  b->team = team;
  b->damage = 15;
  b->hp = 1;
  b->x = x;
  b->y = y;
  b->width = 10;
  b->height = 10;
  lifeform_list.push_back(b);
  return *b;
}

TEST_F(HitDetection, FightersAttackingEachOtherLoseTenEachOnce) {
  lifeform& a = fighter(300, 0);
  lifeform& b = fighter(310, 1);
  a.state = b.state = posture_attacking;
  a.moves[slot_punch]->max_height = 46;  // punch 6 taller than the 40-high stance
  capture_stdout([] { body_contact(); });
  EXPECT_EQ(90, a.hp);
  EXPECT_EQ(90, b.hp);
  EXPECT_EQ(1, a.action);
  EXPECT_TRUE(playing_move(a, slot_hit));
  EXPECT_EQ(440 + 6, a.y);
  EXPECT_EQ(440 + b.moves[slot_punch]->max_height - 40, b.y);

  a.state = b.state = posture_attacking;
  capture_stdout([] { body_contact(); });
  EXPECT_EQ(90, a.hp);  // already reacting: not hurt again
  EXPECT_EQ(90, b.hp);
}

TEST_F(HitDetection, ContactHurtsByPostureAndNeverThroughAGuard) {
  lifeform& a = fighter(300, 0);
  lifeform& b = fighter(310, 1);
  a.state = posture_attacking;
  for (int guard : {posture_blocking, posture_block_air, posture_block_struck, posture_block_slide}) {
    b.state = guard;
    capture_stdout([] { body_contact(); });
    EXPECT_EQ(100, b.hp) << guard;
  }
  b.state = posture_crouching;
  capture_stdout([] { body_contact(); });
  EXPECT_EQ(90, b.hp);
  EXPECT_TRUE(playing_move(b, slot_hit_crouching));

  // The other way round, airborne.
  a.state = posture_airborne;
  b.state = posture_attacking;
  capture_stdout([] { body_contact(); });
  EXPECT_EQ(90, a.hp);
  EXPECT_TRUE(playing_move(a, slot_hit_airborne));
  EXPECT_EQ(100 - 10, b.hp);

  // Apart, nothing happens.
  lifeform& far_a = *lifeform_list[0];
  far_a.x = 0;
  far_a.action = b.action = -1;
  far_a.state = posture_attacking;
  b.state = posture_standing;
  capture_stdout([] { body_contact(); });
  EXPECT_EQ(90, b.hp);
}

TEST_F(HitDetection, AProjectileStrikeTakesFifteenAndPaysOne) {
  fighter(100, 0);
  lifeform& me = fighter(600, 1);
  lifeform& bullet = projectile(605, 450, 0);
  capture_stdout([] { projectile_hits(); });
  EXPECT_EQ(85, me.hp);
  EXPECT_EQ(1, me.action);
  EXPECT_EQ(posture_attacking, me.state);
  EXPECT_TRUE(playing_move(me, slot_hit));
  EXPECT_EQ(0, bullet.hp);  // the fighter's damage of 1; still alive
  EXPECT_TRUE(bullet.alive());

  // The next frame the bullet (without moves) reacts no more and dies; the fighter is reacting.
  capture_stdout([] { projectile_hits(); });
  EXPECT_EQ(85, me.hp);
  EXPECT_EQ(-1, bullet.hp);
  capture_stdout([] { projectile_hits(); });
  EXPECT_EQ(-1, bullet.hp);  // dead lifeforms are left out
}

TEST_F(HitDetection, BlockingRefinesByFloorAndVelocity) {
  fighter(100, 0);
  lifeform& me = fighter(600, 1);
  projectile(605, 450, 0);
  struct { int y; double vx; int expected; } cases[] = {{440, 1.0, posture_block_slide},
                                                         {440, 0.0, posture_block_struck},
                                                         {440, -1.0, posture_block_struck},
                                                         {400, 1.0, posture_block_air}};
  int hp = me.hp;
  for (const auto& c : cases) {
    me.state = posture_blocking;
    me.y = c.y;
    me.vx = c.vx;
    lifeform_list[2]->y = c.y + 10;
    lifeform_list[2]->hp = 1;
    capture_stdout([] { projectile_hits(); });
    EXPECT_EQ(c.expected, me.state) << c.y << " " << c.vx;
    EXPECT_EQ(--hp, me.hp);
    EXPECT_EQ(-1, me.action);  // no hit reaction through a guard
  }
  // Already refined postures keep their value and still cost one.
  capture_stdout([] { projectile_hits(); });
  EXPECT_EQ(posture_block_air, me.state);
  EXPECT_EQ(hp - 1, me.hp);
}

TEST_F(HitDetection, SameTeamNeverStrikesAndFightersAreLeftToContact) {
  lifeform& a = fighter(600, 0);
  lifeform& b = fighter(605, 1);
  a.state = posture_attacking;
  lifeform& bullet = projectile(605, 450, 1);
  capture_stdout([] { projectile_hits(); });
  EXPECT_EQ(100, b.hp);  // same team as the bullet; the fighters overlap but are no projectiles
  EXPECT_EQ(85, a.hp);   // the other team's bullet struck a
  EXPECT_EQ(0, bullet.hp);
  EXPECT_EQ(-1, b.action);
}

TEST_F(HitDetection, TouchingEdgesOverlapOnTheMappedScreen) {
  lifeform p, q;
  p.width = q.width = 20;
  p.height = q.height = 40;
  p.x = 100;
  q.x = 120;  // p's right edge is q's left edge
  EXPECT_TRUE(overlap_test(p, q));
  q.x = 121;
  EXPECT_FALSE(overlap_test(p, q));
  q.x = 100;
  q.y = 40;  // bottom on top
  EXPECT_TRUE(overlap_test(p, q));
  q.y = 41;
  EXPECT_FALSE(overlap_test(p, q));

  // Zoomed out by half, a 2-pixel gap in the world truncates to touching on screen.
  stage.zoom = 0.5;
  stage.scroll_x = 0;
  q.y = 0;
  q.x = 121;
  EXPECT_TRUE(overlap_test(p, q));
  const screen_box b = map_to_screen(100, 10, 120, 50, 40);
  EXPECT_EQ(50, b.left);
  EXPECT_EQ(60, b.right);
  EXPECT_EQ(10 + 20, b.top);  // shifted by 40 - 40 * 0.5
}

TEST_F(HitDetection, StruckWithoutHitMovesTakesDamageAndCanBeHitAgain) {
  fighter(100, 0);
  lifeform& me = fighter(600, 1);
  for (move*& m : me.moves) m = nullptr;
  projectile(605, 450, 0);
  std::string log = capture_stdout([] { projectile_hits(); });
  EXPECT_EQ(85, me.hp);
  EXPECT_EQ(-1, me.action);
  EXPECT_TRUE(me.anim_stack->empty());
  lifeform_list[2]->hp = 1;
  capture_stdout([] { projectile_hits(); });
  EXPECT_EQ(70, me.hp);
  EXPECT_NE(std::string::npos, log.find("has no move [1]"));
}

}  // namespace

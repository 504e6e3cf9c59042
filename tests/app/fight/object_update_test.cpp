// The per-object update and movement, driven through the keyboard and clock seams.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/test_media.h"
#include "fight/fight_cleanup.h"
#include "app/fight/object_update.h"
#include "app/input/action_bindings.h"
#include "fight/match.h"
#include "app/fight/match_hud.h"
#include "fight_scene.h"

namespace {

using ObjectUpdate = fight_scene;

// One update of entry `k`, its path steered by what the keyboard holds (as
// the fight reads it each frame, through the default bindings).
void update(int k) {
  path* p = lifeform_at(k) ? lifeform_at(k)->path : nullptr;
  if (p) p->actions = read_player_actions(default_action_bindings(p->player), key_state(), joystick_ready());
  capture_stdout([&] { update_lifeform(k); });
}

TEST_F(ObjectUpdate, JumpRisesWithTheFramesVelocityAndLandingClearsIt) {
  fighter(200, 0, mode_computer).path->step_count = 0;  // an idle opponent at entry 0
  lifeform& me = fighter(600, 1);
  me.facing = 1;
  press(SDLK_UP);
  press(SDLK_RIGHT);
  update(1);
  EXPECT_DOUBLE_EQ(-11.75, me.ay);
  EXPECT_DOUBLE_EQ(1.0, me.ax);  // the frame's vx, taken before the rise stops steering
  EXPECT_EQ(posture_standing, me.state);  // ay was 0 when the posture was derived
  EXPECT_LT(me.y, 440);

  release(SDLK_UP);
  release(SDLK_RIGHT);
  update(1);
  EXPECT_EQ(posture_airborne, me.state);
  int frames = 0;
  while (me.ay != 0.0 && frames < 200) {
    update(1);
    ++frames;
  }
  EXPECT_LT(frames, 200);
  EXPECT_DOUBLE_EQ(0.0, me.ax);
  EXPECT_EQ(440, me.y);  // back on the floor
  update(1);
  EXPECT_EQ(posture_standing, me.state);
}

TEST_F(ObjectUpdate, CrouchingPunchPlaysMoveEightAndStopsWalking) {
  fighter(200, 0, mode_computer).path->step_count = 0;
  lifeform& me = fighter(600, 1);
  me.facing = 0;
  press(SDLK_DOWN);
  press(SDLK_LEFT);
  press(SDLK_i);
  update(1);
  EXPECT_TRUE(playing_move(me, slot_crouch_punch));
  EXPECT_EQ(0, me.action);
  EXPECT_EQ(posture_attacking, me.state);
  EXPECT_EQ(600, me.x);
  EXPECT_EQ(20 + slot_crouch_punch, me.width);
}

TEST_F(ObjectUpdate, AirborneKickPlaysMoveElevenAndPlainKickMoveThree) {
  fighter(200, 0, mode_computer).path->step_count = 0;
  lifeform& me = fighter(600, 1);
  me.ay = -3.0;
  me.y = 300;
  press(SDLK_k);
  update(1);
  EXPECT_TRUE(playing_move(me, slot_air_kick));

  lifeform& other = fighter(900, 1);
  other.clear_anim_stack();
  update(2);
  EXPECT_TRUE(playing_move(other, slot_kick));
}

TEST_F(ObjectUpdate, BackingAwayBlocksAndAnAttackerPinsTheBlock) {
  lifeform& attacker = fighter(560, 0, mode_computer);
  attacker.path->step_count = 0;
  attacker.facing = 1;
  capture_stdout([&] { attacker.start_move(slot_punch, 0); });
  lifeform& me = fighter(600, 1);
  me.facing = 0;
  press(SDLK_RIGHT);  // away from the attacker on the left

  update(0);
  EXPECT_EQ(posture_attacking, attacker.state);
  update(1);
  EXPECT_EQ(posture_block_struck, me.state);
  EXPECT_DOUBLE_EQ(0.0, me.vx);
  EXPECT_EQ(600, me.x);

  // Without an attacker it is plain blocking, and the fighter walks back.
  attacker.clear_anim_stack();
  attacker.action = -1;
  update(0);
  update(1);
  EXPECT_EQ(posture_blocking, me.state);
  EXPECT_EQ(601, me.x);
}

TEST_F(ObjectUpdate, ComboThreeFacingRightDashesWithTwoGhosts) {
  stage.zoom = 1.0;
  fighter(100, 0, mode_computer).path->step_count = 0;
  lifeform& me = fighter(300, 1);
  me.facing = 1;
  // A 4 x 10 light dash picture keeps the ghosts apart from the fighter.
  me.moves[slot_dash] = me.adopt_move(make_move("dash", 4, 10, 1, 30, 200));

  std::vector<combo> combos(1);
  combos[0].combotype = 3;
  me.path->recognizer.combos = &combos;
  me.path->recognizer.add_attempt(combo_attempt{&combos[0], combos[0].reqkeys(), 6000, 0});

  clear_frame();
  update(1);
  ASSERT_TRUE(playing_move(me, slot_dash));
  EXPECT_EQ(3, me.action);
  EXPECT_EQ(posture_attacking, me.state);
  EXPECT_EQ(303, me.x);  // 3 units a frame faster to the right
  EXPECT_EQ(255, me.alpha);
  ASSERT_EQ(1u, seen_texts().size());
  EXPECT_EQ("Combo[3]", seen_texts()[0].text);

  // Two frames' ticks were handed back: the animation lost only one tick.
  EXPECT_EQ(29, me.anim_stack->plays[0]->countdown);

  // Ghosts 6 and 12 pixels behind the start, at alpha 192 and 64; the fighter itself opaque.
  // The ghosts show where the fighter stood, before its own move and draw.
  const int y = 440 + 5;
  const rgb ghost_near = screen_pixel(300 - 6 + 1, y);
  const rgb ghost_far = screen_pixel(300 - 12 + 1, y);
  const rgb body = screen_pixel(303 + 1, me.y + 5);
  EXPECT_EQ(440 + 9, me.y);  // falling towards the floor with its new height
  EXPECT_NEAR(200, body.r, 2);
  EXPECT_NEAR(200 * 192 / 255, ghost_near.r, 4);
  EXPECT_NEAR(200 * 64 / 255, ghost_far.r, 4);
}

TEST_F(ObjectUpdate, TheLastTickOfADashDrawsNoGhostAndNoStandingPose) {
  stage.zoom = 1.0;
  fighter(100, 0, mode_computer).path->step_count = 0;
  lifeform& me = fighter(300, 1);
  me.facing = 1;
  me.moves[slot_dash] = me.adopt_move(make_move("short_dash", 4, 10, 1, 2, 200));  // one frame, two ticks
  std::vector<combo> combos(1);
  combos[0].combotype = 3;
  me.path->recognizer.combos = &combos;
  me.path->recognizer.add_attempt(combo_attempt{&combos[0], combos[0].reqkeys(), 6000, 0});
  update(1);  // first tick, with its two ghosts
  ASSERT_TRUE(playing_move(me, slot_dash));

  clear_frame();
  const int x = me.x;
  const int age = me.age;
  update(1);  // last tick: the fighter's own draw ends the dash
  EXPECT_EQ(-1, me.action);
  EXPECT_EQ(age, me.age);  // no posture image was drawn this frame
  for (int behind : {6, 12}) {
    const rgb p = screen_pixel(x - behind + 1, 480 - 5);
    EXPECT_FALSE(p.r == 40 && p.g == 40 && p.b == 200) << behind;  // the standing pose's colour
  }
}

Uint32 combo_clock_ms = 0;
Uint32 combo_clock() { return combo_clock_ms; }

// The combo's text as the update drew it this frame; false when it was not drawn.
bool combo_text_seen(seen_text& out) {
  for (const seen_text& t : seen_texts()) {
    if (t.text.rfind("Combo[", 0) == 0) out = t;
  }
  return !seen_texts().empty() && out.text.rfind("Combo[", 0) == 0;
}

// In a match a performed combo is named as the move list names it; the
// plain fight keeps its number.
TEST_F(ObjectUpdate, InAMatchAComboShowsTheMovesName) {
  fighter(100, 0, mode_computer).path->step_count = 0;
  lifeform& me = fighter(300, 1);
  std::vector<combo> combos(1);
  combos[0].combotype = 2;
  me.path->recognizer.combos = &combos;
  combo_texts_named = true;
  me.path->recognizer.add_attempt(combo_attempt{&combos[0], combos[0].reqkeys(), 6000, 0});
  update(1);
  combo_texts_named = false;
  ASSERT_EQ(1u, seen_texts().size());
  EXPECT_EQ("Special move", seen_texts()[0].text);
}

TEST_F(ObjectUpdate, ComboTextShowsAboveTheFighterWhereItStandsOnScreenForASecond) {
  seams().ticks = combo_clock;
  combo_clock_ms = 20000;
  fighter(100, 0, mode_computer).path->step_count = 0;
  lifeform& me = fighter(1200, 1);  // world x far past the 640-pixel screen
  std::vector<combo> combos(1);
  combos[0].combotype = 5;  // a code that only shows its text
  me.path->recognizer.combos = &combos;
  me.path->recognizer.add_attempt(combo_attempt{&combos[0], 0, 60000, 0});

  struct view {
    int scroll_x;
    double zoom;
    int left, width, top;  // where the 20 x 40 fighter on the floor is drawn
  };
  const view views[] = {{900, 0.5, 150, 10, 460}, {1000, 1.0, 200, 20, 440}, {700, 0.75, 375, 15, 450}};
  for (const view& v : views) {
    SCOPED_TRACE(v.zoom);
    stage.scroll_x = v.scroll_x;
    stage.zoom = v.zoom;
    seen_texts().clear();
    update(1);
    seen_text t{0, 0, ""};
    ASSERT_TRUE(combo_text_seen(t));
    EXPECT_EQ("Combo[5]", t.text);
    int w = 0, h = 0;
    fight_text_size(t.text.c_str(), w, h);
    const int centre = v.left + v.width / 2;
    EXPECT_LE(t.x, centre);
    EXPECT_GE(t.x + w, centre);
    EXPECT_LE(t.y + h, v.top);       // above the fighter...
    EXPECT_GE(t.y + h, v.top - 12);  // ...just above
    combo_clock_ms += 300;
  }
  combo_clock_ms = 20000 + 990;
  seen_texts().clear();
  update(1);
  seen_text t{0, 0, ""};
  EXPECT_TRUE(combo_text_seen(t));
  combo_clock_ms = 20000 + 1000;
  seen_texts().clear();
  update(1);
  EXPECT_FALSE(combo_text_seen(t));
}

TEST_F(ObjectUpdate, EachFightersNameShowsUnderItsGaugeOnTheGaugesSide) {
  lifeform& computer = fighter(100, 0, mode_computer);
  computer.path->step_count = 0;
  computer.name = "Brela";
  computer.facing = 1;  // gauge at the left edge, growing right
  lifeform& human = fighter(300, 1);
  human.name = "Dravitz";
  human.facing = 0;  // gauge at the right edge, growing left
  update(0);
  update(1);
  ASSERT_EQ(2u, seen_texts().size());
  EXPECT_EQ("Brela", seen_texts()[0].text);
  EXPECT_EQ(4, seen_texts()[0].x);
  EXPECT_EQ(5 + 15 + 2, seen_texts()[0].y);  // just under the 15-pixel bar at y 5
  EXPECT_EQ("Dravitz", seen_texts()[1].text);
  int w = 0, h = 0;
  fight_label_size("Dravitz", w, h);
  EXPECT_EQ(640 - 4, seen_texts()[1].x + w);
  EXPECT_EQ(22, seen_texts()[1].y);

  // The name follows the gauge when the fighters change sides.
  human.facing = 1;
  seen_texts().clear();
  update(1);
  ASSERT_EQ(1u, seen_texts().size());
  EXPECT_EQ(4, seen_texts()[0].x);
}

// In a match the gauges don't follow the fighters' facing: entry 0's stays
// on the left and entry 1's on the right, with the names, even after the
// fighters have swapped sides.
TEST_F(ObjectUpdate, InAMatchEachGaugeAndNameStaysOnItsEntrysSide) {
  lifeform& computer = fighter(300, 0, mode_computer);
  computer.path->step_count = 0;
  computer.name = "Brela";
  computer.facing = 0;  // swapped: entry 0 stands on the right
  lifeform& human = fighter(100, 1);
  human.name = "Dravitz";
  human.facing = 1;
  match_draws_gauges = true;
  update(0);
  update(1);
  match_draws_gauges = false;
  EXPECT_TRUE(seen_texts().empty());  // the update leaves them to the match
  match_rules rules;
  rules.rounds = 2;
  draw_match_hud(match_state(rules));
  ASSERT_EQ(2u, seen_texts().size());
  EXPECT_EQ("Brela", seen_texts()[0].text);
  EXPECT_EQ(4, seen_texts()[0].x);
  EXPECT_EQ("Dravitz", seen_texts()[1].text);
  int w = 0, h = 0;
  fight_label_size("Dravitz", w, h);
  EXPECT_EQ(640 - 4, seen_texts()[1].x + w);
}

TEST_F(ObjectUpdate, ComboOneAddsLiftAndComboTwoHoldsThePlace) {
  fighter(100, 0, mode_computer).path->step_count = 0;
  lifeform& me = fighter(300, 1);
  me.ay = -5.0;
  me.y = 300;
  std::vector<combo> combos(2);
  combos[0].combotype = 1;
  combos[1].combotype = 2;
  me.path->recognizer.combos = &combos;
  me.path->recognizer.add_attempt(combo_attempt{&combos[0], 0, 6000, 0});
  update(1);
  EXPECT_DOUBLE_EQ(-5.0 - 1.1 + 0.25, me.ay);

  me.ay = 0.0;
  me.y = 440;
  me.facing = 1;
  press(SDLK_RIGHT);
  me.path->recognizer.add_attempt(combo_attempt{&combos[1], 0, 6000, 0});
  update(1);
  EXPECT_TRUE(playing_move(me, slot_combo_special));
  EXPECT_EQ(2, me.action);
  EXPECT_EQ(300, me.x);  // held in place although RIGHT is down
  EXPECT_EQ(posture_standing, me.state);
}

TEST_F(ObjectUpdate, MissingMovesAreSkippedNotCrashed) {
  fighter(100, 0, mode_computer).path->step_count = 0;
  lifeform& me = fighter(300, 1);
  for (move*& m : me.moves) m = nullptr;  // still freed through owned_moves
  std::vector<combo> combos(2);
  combos[0].combotype = 2;
  combos[1].combotype = 3;
  me.path->recognizer.combos = &combos;
  me.path->recognizer.add_attempt(combo_attempt{&combos[0], 0, 6000, 0});
  me.path->recognizer.add_attempt(combo_attempt{&combos[1], 0, 6000, 0});
  me.path->actions = action_punch;
  std::string log = capture_stdout([&] { update_lifeform(1); update_lifeform(1); });
  EXPECT_TRUE(me.anim_stack->empty());
  EXPECT_EQ(-1, me.action);
  EXPECT_NE(std::string::npos, log.find("has no move [0]"));
}

TEST_F(ObjectUpdate, AProjectileAtTheRightEdgeDiesAndIsThenLeftAlone) {
  fighter(100, 0, mode_computer).path->step_count = 0;
  fighter(300, 1).path->step_count = 0;
  lifeform* bullet = new lifeform;
  bullet->kind = 3;
  bullet->edge_death = 1;
  bullet->speed = 0.1;
  bullet->ax = 1.0;
  bullet->width = 10;
  bullet->height = 10;
  bullet->x = 1600 - 10 - 20;
  bullet->y = 300;
  bullet->give_path(std::make_unique<path>());
  bullet->path->add_step(mode_straight);
  lifeform_list.push_back(bullet);

  update(2);
  EXPECT_EQ(-1, bullet->hp);
  EXPECT_EQ(1600 - 10, bullet->x);
  EXPECT_DOUBLE_EQ(0.0, bullet->vx);
  update(2);
  EXPECT_EQ(1600 - 10, bullet->x);  // not moved again

  EXPECT_EQ(1u, remove_dead_projectiles());
  EXPECT_EQ(2u, lifeform_list.size());
}

TEST_F(ObjectUpdate, MovementStepClampsBothWays) {
  lifeform l;
  l.width = 20;
  l.height = 40;
  l.edge_death = 0;
  stage.scale = 2.0;
  l.x = 770;
  l.y = 440;
  l.vx = 50.0;
  movement_step(l, 1);
  EXPECT_EQ(800 - 20, l.x);  // max_width / scale - width
  EXPECT_EQ(1, l.hp);
  EXPECT_DOUBLE_EQ(0.0, l.vx);

  l.x = 5;
  l.vx = -10.0;
  l.vy = -500.0;
  movement_step(l, 1);
  EXPECT_EQ(0, l.x);
  EXPECT_EQ(0, l.y);
  EXPECT_EQ(1, l.hp);

  // Killing edges use the unscaled width; the kind multiplies the step by 4.
  l.edge_death = 1;
  l.kind = 3;
  l.x = 100;
  l.y = 100;
  l.vx = 2.0;
  l.vy = 0.0;
  movement_step(l, 1);
  EXPECT_EQ(108, l.x);
  EXPECT_EQ(1, l.hp);
  l.y = 470;
  movement_step(l, 1);
  EXPECT_EQ(440, l.y);
  EXPECT_EQ(-1, l.hp);

  // A speed of 0 freezes; a tiny one cannot overflow the position.
  lifeform still;
  still.speed = 0.0;
  still.vx = 100.0;
  still.edge_death = 0;
  movement_step(still, 1);
  EXPECT_EQ(0, still.x);
  still.speed = 1e-300;
  movement_step(still, 1);
  EXPECT_EQ(800 - still.width, still.x);
}

TEST_F(ObjectUpdate, BulletsFiredDuringTheWalkAreUpdatedInTheSameFrame) {
  lifeform& shooter = fighter(300, 0, mode_computer);
  shooter.path->step_count = 0;
  fighter(900, 1).path->step_count = 0;
  shooter.facing = 1;
  // A one-tick firing frame: the draw of this update spawns the bullet.
  shooter.moves[projectile_move_slot] = shooter.adopt_move(make_move("ball", 8, 8, 3, 5));
  write_text_file(dir, "fire.ini", "images=1\nimage0=" + picture("fire.png", 20, 40, 9, 9, 9) + "\nrate0=1\nfire0=1\n");
  animation* a = new animation;
  capture_stdout([&] { a->load((dir + "/fire.ini").c_str()); });
  shooter.moves[slot_punch]->animations[0] = counted_ptr<animation>(a);
  shooter.path->step_count = 0;
  capture_stdout([&] { shooter.start_move(slot_punch, 0); });

  capture_stdout([&] { update_all_lifeforms(); });
  ASSERT_EQ(3u, lifeform_list.size());
  lifeform* bullet = lifeform_list[2];
  EXPECT_EQ(300 + 40, bullet->x);  // already moved 40 pixels this frame
}

}  // namespace

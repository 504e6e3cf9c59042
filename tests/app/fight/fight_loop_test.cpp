// The fight camera, facing, result messages, timing figure, frame order,
// dead projectile removal and the benchmark's statistics.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/dev/fight_benchmark.h"
#include "fight/fight_camera.h"
#include "fight/body_push.h"
#include "fight/fight_cleanup.h"
#include "app/fight/fight_loop.h"
#include "fight/fight_options.h"
#include "app/fight/object_update.h"
#include "core/quit_request.h"
#include "fighter/control.h"
#include "fighter/path.h"
#include "fight_scene.h"

namespace {

using FightLoop = fight_scene;

TEST_F(FightLoop, CameraOnTheFloorAndItsZoom) {
  lifeform& a = fighter(400, 0);
  lifeform& b = fighter(800, 1);
  a.width = b.width = 100;
  a.height = b.height = 40;
  camera_view v = fight_camera(a, b, 640, 480, 1600, 1.0);
  EXPECT_EQ(0, v.scroll_y);
  EXPECT_EQ(200, v.scroll_x);
  // right 900, d = trunc((1600 - 900) * 0.5) - 200 = 150
  EXPECT_DOUBLE_EQ(640.0 / (900 + 150), v.zoom);

  // Rising fighters scroll up; a scale changes the margin.
  a.y = 340;
  b.y = 400;
  a.x = 401;  // scroll_x truncates
  v = fight_camera(a, b, 640, 480, 1600, 2.0);
  EXPECT_EQ((340 + 400) / 2 - (480 - 40), v.scroll_y);
  EXPECT_EQ(200, v.scroll_x);
  EXPECT_DOUBLE_EQ(640.0 / (900 * 2.0 + (static_cast<int>((800 - 900) * 0.5) - 200)), v.zoom);
}

TEST_F(FightLoop, NegativeScrollIsClampedAfterTheZoomAndBadScalesAreSafe) {
  lifeform& a = fighter(-40, 0);
  lifeform& b = fighter(60, 1);
  a.width = b.width = 20;
  camera_view v = fight_camera(a, b, 640, 480, 1600, 1.0);
  EXPECT_EQ(0, v.scroll_x);
  // left -40 gives scroll_x -20 inside the zoom: d = trunc((1600 - 80) / 2) + 20
  EXPECT_DOUBLE_EQ(640.0 / (80 + 760 + 20), v.zoom);

  v = fight_camera(a, b, 640, 480, 1600, 0.0);  // bad data: a scale of 0 counts as 1
  EXPECT_DOUBLE_EQ(640.0 / (80 + 760 + 20), v.zoom);
  a.x = b.x = 0;
  a.width = b.width = 0;
  capture_stdout([&] { v = fight_camera(a, b, 640, 480, 0, 1.0); });
  EXPECT_DOUBLE_EQ(1.0, v.zoom);  // 640 / 0 is no zoom
}

TEST_F(FightLoop, FacingFollowsTheCentresAndEqualCentresKeepIt) {
  lifeform& a = fighter(100, 0);
  lifeform& b = fighter(300, 1);
  face_each_other(a, b);
  EXPECT_EQ(1, a.facing);
  EXPECT_EQ(0, b.facing);
  a.x = 500;  // swapped sides
  face_each_other(a, b);
  EXPECT_EQ(0, a.facing);
  EXPECT_EQ(1, b.facing);
  b.x = 500;
  b.width = a.width;
  a.facing = 1;
  b.facing = 1;
  face_each_other(a, b);
  EXPECT_EQ(1, a.facing);
  EXPECT_EQ(1, b.facing);
}

// The centre is (x + width) / 2, each fighter with its own width: a wide
// fighter standing left of a narrow one can still be the one further right.
TEST_F(FightLoop, FacingUsesEachFightersOwnWidth) {
  lifeform& a = fighter(100, 0);
  lifeform& b = fighter(190, 1);
  a.width = 200;  // centre 150
  b.width = 20;   // centre 105
  a.facing = 1;
  b.facing = 0;
  face_each_other(a, b);
  EXPECT_EQ(0, a.facing);
  EXPECT_EQ(1, b.facing);
  face_each_other(b, a);  // the same two, listed the other way round
  EXPECT_EQ(0, a.facing);
  EXPECT_EQ(1, b.facing);
}

TEST_F(FightLoop, ResultMessagesAreCentredAndPutTheFallenDown) {
  lifeform& a = fighter(100, 0);
  lifeform& b = fighter(300, 1);
  fight_loop loop;
  loop.show_result();
  EXPECT_TRUE(seen_texts().empty());

  a.hp = -1;
  a.y = 300;
  a.state = posture_hit;
  loop.show_result();
  ASSERT_EQ(1u, seen_texts().size());
  EXPECT_EQ("Player 2 Wins (ESC to quit)", seen_texts()[0].text);
  EXPECT_EQ(320 - 4 * 27, seen_texts()[0].x);
  EXPECT_EQ(240 - 4, seen_texts()[0].y);
  EXPECT_EQ(440, a.y);
  EXPECT_EQ(0, a.state);

  seen_texts().clear();
  b.hp = -5;
  loop.show_result();
  ASSERT_EQ(3u, seen_texts().size());
  EXPECT_EQ("Player 1 Wins (ESC to quit)", seen_texts()[1].text);
  EXPECT_EQ("Double Death  (ESC to quit)", seen_texts()[2].text);
  EXPECT_EQ(seen_texts()[0].x, seen_texts()[2].x);  // the last covers the others exactly
}

// Two humans: the second steers entry 0 and is "Player 2" on the select
// screen, so its win is "Player 2 Wins".
TEST_F(FightLoop, WithASecondPlayerTheResultNamesThePlayersAsTheSelectScreenDoes) {
  lifeform& a = fighter(100, 0);
  lifeform& b = fighter(300, 1);
  path second;
  second.add_step(mode_human);
  second.player = 1;
  path* had = a.path;
  a.path = &second;
  fight_loop loop;
  b.hp = -1;
  loop.show_result();
  ASSERT_EQ(1u, seen_texts().size());
  EXPECT_EQ("Player 2 Wins (ESC to quit)", seen_texts()[0].text);
  seen_texts().clear();
  b.hp = 10;
  a.hp = -1;
  loop.show_result();
  ASSERT_EQ(1u, seen_texts().size());
  EXPECT_EQ("Player 1 Wins (ESC to quit)", seen_texts()[0].text);
  a.path = had;
}

TEST_F(FightLoop, TimingFigureIsTheInverseOfTheSleep) {
  EXPECT_EQ(0, fight_loop::timing_figure(1000, 1000));
  EXPECT_EQ(250, fight_loop::timing_figure(1000, 1004));
  EXPECT_EQ(62, fight_loop::timing_figure(1000, 1016));
}

int presents = 0;
void count_present() { ++presents; }

// Each frame the loop and both paths take one event each: a close request
// behind three or more other events must still end the loop after its frame.
TEST_F(FightLoop, AQuitBehindOtherEventsEndsTheLoopAfterItsFrame) {
  fighter(400, 0, mode_computer).path->step_count = 0;
  fighter(800, 1);
  fight_loop loop;
  bool quit = true;
  capture_stdout([&] { quit = loop.run_frame(); });
  EXPECT_FALSE(quit);
  for (int k = 0; k < 5; ++k) {
    SDL_Event key = {};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = static_cast<SDLKey>(SDLK_a + k);
    SDL_PushEvent(&key);
  }
  SDL_Event close = {};
  close.type = SDL_QUIT;
  SDL_PushEvent(&close);
  capture_stdout([&] { quit = loop.run_frame(); });
  EXPECT_TRUE(quit);
  EXPECT_EQ(2, loop.frame_counter);
  SDL_Event left;
  while (SDL_PollEvent(&left) == 1) {
  }
  forget_quit_request();
}

TEST_F(FightLoop, EscapeEndsTheLoopAfterAWholeFrame) {
  fighter(400, 0, mode_computer).path->step_count = 0;
  fighter(800, 1);
  presents = 0;
  void (*saved)() = g_video.after_present;
  g_video.after_present = count_present;
  fight_loop loop;
  bool quit = false;
  capture_stdout([&] { quit = loop.run_frame(); });
  EXPECT_FALSE(quit);
  press(SDLK_ESCAPE);
  capture_stdout([&] { quit = loop.run_frame(); });
  g_video.after_present = saved;
  EXPECT_TRUE(quit);
  EXPECT_EQ(2, presents);
  EXPECT_EQ(2, loop.frame_counter);
  // The frame's parts ran: camera set, both fighters updated and gauges drawn.
  EXPECT_EQ(0, stage.scroll_y);
  EXPECT_EQ(200, stage.scroll_x);
  EXPECT_EQ(1, lifeform_list[0]->facing);
  ASSERT_FALSE(seen_texts().empty());
  EXPECT_EQ("0", seen_texts().back().text);  // the limiter did not sleep (fixed clock)
  EXPECT_EQ(0, seen_texts().back().x);
  EXPECT_EQ(100, seen_texts().back().y);
}

// Puts the run's fight options back when a test ends.
struct options_in_force {
  explicit options_in_force(const fight_options& o) : saved(current_fight_options()) { set_fight_options(o); }
  ~options_in_force() { set_fight_options(saved); }
  fight_options saved;
};

bool figure_drawn() {
  for (const seen_text& t : seen_texts()) {
    if (t.x == 0 && t.y == 100) return true;
  }
  return false;
}

TEST_F(FightLoop, TimingFigureIsDrawnUnlessHidden) {
  fighter(400, 0, mode_computer).path->step_count = 0;
  fighter(800, 1);
  fight_loop loop;
  fight_options hidden;
  hidden.timing_figure = false;
  {
    options_in_force with(hidden);
    capture_stdout([&] { loop.run_frame(); });
    EXPECT_FALSE(figure_drawn());
  }
  capture_stdout([&] { loop.run_frame(); });
  EXPECT_TRUE(figure_drawn());
}

// A fighter walking into an idle one (4 world units a frame) pushes it at half
// its pace and a punch from there lands; once the other is held at the level's
// right edge the walker stops against it. The bodies never overlap.
TEST_F(FightLoop, PushApartKeepsWalkersSideBySideAndPunchesStillLand) {
  fight_options pushing;
  pushing.push_apart = true;
  options_in_force with(pushing);
  lifeform& other = fighter(1500, 0, mode_computer);
  other.path->step_count = 0;
  lifeform& me = fighter(1440, 1);
  me.speed = 0.25;
  fight_loop loop;
  int worst_overlap = -1000;
  auto frames = [&](int n) {
    for (int k = 0; k < n; ++k) {
      capture_stdout([&] { loop.run_frame(); });
      worst_overlap = std::max(worst_overlap, me.x + me.width - other.x);
    }
  };
  press(SDLK_RIGHT);
  frames(30);  // touching from frame 10 on, then 2 units each a frame
  EXPECT_EQ(1520, me.x);
  EXPECT_EQ(1540, other.x);

  release(SDLK_RIGHT);
  press(SDLK_i);
  frames(3);
  EXPECT_EQ(90, other.hp);  // body contact while punching: 10 hit points
  release(SDLK_i);

  press(SDLK_RIGHT);
  frames(80);
  EXPECT_EQ(0, worst_overlap);
  EXPECT_EQ(1580, other.x);  // the level's right limit: 1600 - 20
  EXPECT_EQ(1560, me.x);
}

// Jumping over the opponent is a move: bodies overlapping in the air stay so,
// and are set side by side once both stand on the floor again.
TEST_F(FightLoop, FightersInTheAirPassOverEachOtherAndPartOnLanding) {
  lifeform& a = fighter(500, 0);
  lifeform& b = fighter(510, 1);
  b.y -= 100;
  push_fighters_apart();
  EXPECT_EQ(500, a.x);
  EXPECT_EQ(510, b.x);
  b.y += 100;
  push_fighters_apart();
  EXPECT_EQ(495, a.x);
  EXPECT_EQ(515, b.x);
}

TEST_F(FightLoop, DeadProjectilesLeaveTheListButTheFightersStay) {
  lifeform& a = fighter(100, 0);
  lifeform& b = fighter(300, 1);
  a.hp = -1;  // a fallen fighter stays entry 0
  std::vector<lifeform*> bullets;
  for (int i = 0; i < 5; ++i) {
    lifeform* p = new lifeform;
    p->kind = 3;
    p->hp = i % 2 == 0 ? -1 : 0;
    p->give_path(std::make_unique<path>());
    bullets.push_back(p);
    lifeform_list.push_back(p);
  }
  EXPECT_EQ(3u, remove_dead_projectiles());
  ASSERT_EQ(4u, lifeform_list.size());
  EXPECT_EQ(&a, lifeform_list[0]);
  EXPECT_EQ(&b, lifeform_list[1]);
  EXPECT_EQ(bullets[1], lifeform_list[2]);
  EXPECT_EQ(bullets[3], lifeform_list[3]);
  EXPECT_EQ(0u, remove_dead_projectiles());
}

TEST_F(FightLoop, ALongFightWithBulletsKeepsTheListBounded) {
  lifeform& a = fighter(200, 0, mode_computer);
  lifeform& b = fighter(900, 1, mode_computer);
  std::vector<combo> combos(1);
  combos[0].combotype = 2;
  a.path->recognizer.combos = &combos;
  b.path->recognizer.combos = &combos;
  // Every combo special fires on its first frame.
  write_text_file(dir, "fire.ini", "images=2\nimage0=" + picture("f.png", 20, 120, 9, 9, 9) +
                                        "\nrate0=1\nfire0=1\nimage1=" + dir + "/f.png\nrate1=1\n");
  animation* fire = new animation;
  capture_stdout([&] { fire->load((dir + "/fire.ini").c_str()); });
  a.moves[slot_combo_special]->animations[0] = counted_ptr<animation>(fire);
  b.moves[slot_combo_special]->animations[0] = counted_ptr<animation>(fire);
  fight_loop loop;
  size_t peak = 0;
  capture_stdout([&] {
    for (int frame = 0; frame < 600; ++frame) {
      for (lifeform* f : {&a, &b}) {
        f->hp = 100;
        f->path->recognizer.add_attempt(combo_attempt{&combos[0], 0, 6000, 0});
      }
      loop.run_frame();
      peak = std::max(peak, lifeform_list.size());
    }
  });
  EXPECT_GT(peak, 4u);   // bullets were flying
  EXPECT_LT(peak, 60u);  // and leaving
}

TEST(FightBenchmark, PercentilesAndShares) {
  EXPECT_DOUBLE_EQ(0.0, percentile({}, 0.5));
  EXPECT_DOUBLE_EQ(3.0, percentile({5, 1, 3, 2, 4}, 0.5));
  std::vector<double> hundred;
  for (int i = 100; i >= 1; --i) hundred.push_back(i);
  EXPECT_DOUBLE_EQ(99.0, percentile(hundred, 0.99));
  EXPECT_DOUBLE_EQ(100.0, percentile(hundred, 1.0));

  std::vector<fight_frame_times> frames = {{2.0, 1.0, 0.2, 0.5}, {4.0, 2.0, 0.2, 1.0}, {3.0, 1.0, 0.2, 1.0}};
  frame_statistics s = summarise(frames);
  EXPECT_EQ(3, s.frames);
  EXPECT_DOUBLE_EQ(3.0, s.median);
  EXPECT_DOUBLE_EQ(4.0, s.worst);
  EXPECT_DOUBLE_EQ(4.0 / 9.0, s.stage_share);
  EXPECT_DOUBLE_EQ(2.5 / 9.0, s.update_share);
  EXPECT_NEAR(0.6 / 9.0, s.hit_share, 1e-12);
}

}  // namespace

// The replay's state check: equal states hash equal wherever they lie in
// memory, and each thing a fight frame changes changes the hash.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "anim/animation.h"
#include "fight/fight_state_hash.h"
#include "fight/match.h"
#include "fighter/lifeform.h"
#include "fighter/path.h"
#include "stage/level.h"

namespace {

// Two fighters (the first plays the second animation of a move and carries a
// weapon), their paths, a stage and a match.
struct scene {
  lifeform a, b;
  path pa, pb;
  move punch;
  level stage;
  match_state match{match_rules{2, 60, 60, false}};
  std::vector<lifeform*> saved = lifeform_list;

  scene() {
    punch.add(counted_ptr<animation>(new animation));
    punch.add(counted_ptr<animation>(new animation));
    a.moves.push_back(&punch);
    anim_play play;
    play.animation = punch.animations[0].get();
    a.anim_stack->add(play);
    a.weapons.resize(1);
    a.weapons[0].streams.resize(2);
    a.path = &pa;
    b.path = &pb;
    pb.player = 1;
    match.start_match();
    lifeform_list = {&a, &b};
  }
  ~scene() {
    a.clear_anim_stack();
    a.moves.clear();
    lifeform_list = saved;
  }
  unsigned long long hash(unsigned long long random = 7) const { return fight_state_hash(random, &stage, &match); }
};

}  // namespace

TEST(FightStateHash, EqualStatesHashEqualAndEveryChangeShows) {
  const unsigned long long base = scene().hash();
  EXPECT_EQ(base, scene().hash());  // no address enters it

  const std::vector<std::pair<const char*, std::function<void(scene&)>>> changes = {
      {"jump drive", [](scene& s) { s.a.ay = -0.5; }},
      {"horizontal drive", [](scene& s) { s.b.ax = 0.25; }},
      {"the move's other animation", [](scene& s) { s.a.anim_stack->plays[0]->animation = s.punch.animations[1].get(); }},
      {"saved reload counter", [](scene& s) { s.a.stream_cooldowns[0][3] = 4; }},
      {"a stream's reload counter", [](scene& s) { s.a.weapons[0].streams[1].reload_counter = 2; }},
      {"the opponent's memory", [](scene& s) { s.pb.ai.in_reach = true; }},
      {"the projectile it judged", [](scene& s) { s.pb.ai.judged_projectile = s.a.id; }},
      {"actions held", [](scene& s) { s.pa.actions = action_punch; }},
      {"a knocked-out fighter", [](scene& s) { s.a.hp = -1; }},
      {"shake", [](scene& s) { s.stage.shake = 3; }},
      {"flash", [](scene& s) { s.stage.flash = 200; }},
      {"camera", [](scene& s) { s.stage.scroll_x = 12; }},
      {"zoom", [](scene& s) { s.stage.zoom = 0.75; }},
      {"match phase", [](scene& s) { s.match.phase = match_phase::fighting; }},
      {"round clock", [](scene& s) { s.match.clock_frames -= 1; }},
      {"rounds won", [](scene& s) { s.match.wins[1] = 1; }},
  };
  for (const auto& change : changes) {
    SCOPED_TRACE(change.first);
    scene s;
    change.second(s);
    EXPECT_NE(base, s.hash());
  }
  EXPECT_NE(base, scene().hash(8));  // the random source

  // A fighter lying knocked out still counts: moving it shows.
  scene out;
  out.a.hp = -1;
  const unsigned long long lying = out.hash();
  out.a.y += 1;
  EXPECT_NE(lying, out.hash());
}

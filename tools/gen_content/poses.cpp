#include "poses.h"

#include <map>
#include <stdexcept>

namespace {
// Building blocks shared by many poses.
const Limb kGuardNear{30, 160}, kGuardFar{18, 148};
const Limb kStanceNear{16, 0}, kStanceFar{-16, -6};
const Limb kCrouchNear{98, -12}, kCrouchFar{70, -40};
const Limb kTuckNear{112, -5}, kTuckFar{78, -30};

Pose base() {
  Pose p;
  p.arm_near = kGuardNear, p.arm_far = kGuardFar;
  p.leg_near = kStanceNear, p.leg_far = kStanceFar;
  return p;
}
Pose crouched() {
  Pose p = base();
  p.lean = 18;
  p.leg_near = kCrouchNear, p.leg_far = kCrouchFar;
  return p;
}
Pose airborne() {
  Pose p = base();
  p.grounded = false;
  p.air_y = 104;
  p.leg_near = kTuckNear, p.leg_far = kTuckFar;
  p.lean = 10;
  return p;
}
Pose blocking() {
  Pose p = base();
  p.lean = -6;
  p.arm_near = {52, 172};
  p.arm_far = {62, 166};
  p.leg_near = {24, -4};
  p.leg_far = {-22, -18};
  return p;
}

std::map<std::string, Pose> library(Build b) {
  const bool kicker = b == Build::kicker, brawler = b == Build::brawler;
  const float kick_up = kicker ? 28.0f : (brawler ? -6.0f : 0.0f);
  std::map<std::string, Pose> m;
  Pose p;

  // Postures.
  p = base();
  if (brawler) p.lean = 8, p.leg_near = {20, 2}, p.leg_far = {-20, -8};
  if (b == Build::caster) p.lean = 0, p.arm_far = {-10, 40}, p.open_hands = true;
  m["stand"] = p;
  m["air"] = airborne();
  m["crouch"] = crouched();
  m["block"] = blocking();
  p = airborne(), p.arm_near = {52, 172}, p.arm_far = {62, 166}, p.lean = -8, p.fx = Effect::spark_hand,
  p.fx_size = 0.6f;
  m["block_air"] = p;
  p = blocking(), p.lean = -14, p.dx = 6, p.fx = Effect::spark_hand, p.fx_size = 0.6f;
  m["block_hit"] = p;
  p = blocking(), p.lean = -10, p.dx = 8, p.leg_far = {-42, -40}, p.leg_near = {30, 6};
  m["block_slide"] = p;

  // Punch: cock, strike (with spark), hold, pull back.
  p = base(), p.lean = 2, p.arm_near = {8, 128};
  m["punch1"] = p;
  p = base(), p.lean = 12, p.arm_near = {86, 90}, p.arm_far = {-22, 120}, p.leg_near = {30, 0},
  p.leg_far = {-30, -14}, p.dx = 4;
  m["punch3"] = p;
  p.fx = Effect::spark_hand;
  m["punch2"] = p;
  p = base(), p.lean = 8, p.arm_near = {60, 120};
  m["punch4"] = p;

  // Kick: chamber, strike, hold, recover.
  p = base(), p.lean = -6, p.leg_near = {92 + kick_up * 0.5f, -12};
  m["kick1"] = p;
  p = base(), p.lean = -18 - kick_up * 0.4f, p.leg_near = {92 + kick_up, 92 + kick_up, brawler ? 70.0f : 14.0f},
  p.leg_far = {-8, -4}, p.arm_near = {40, 150}, p.arm_far = {-40, 40}, p.dx = 16;
  m["kick3"] = p;
  p.fx = Effect::spark_foot;
  m["kick2"] = p;
  p = base(), p.lean = -4, p.leg_near = {60, 20};
  m["kick4"] = p;

  // Uppercut (joystick attack 4).
  p = crouched(), p.arm_near = {-12, 70}, p.lean = 22;
  m["upper1"] = p;
  p = base(), p.lean = -4, p.arm_near = {142, 162}, p.arm_far = {-20, 100}, p.leg_near = {40, 10},
  p.leg_far = {-10, -4}, p.nod = -10;
  m["upper3"] = p;
  p.fx = Effect::spark_hand, p.fx_size = 0.9f;
  m["upper2"] = p;

  // Roundhouse (joystick attack 5): turn, high strike, recover.
  p = base(), p.lean = -10, p.leg_near = {70, 10}, p.arm_near = {60, 110}, p.arm_far = {-30, 30};
  m["round1"] = p;
  p = base(), p.lean = -28, p.leg_near = {118 + kick_up * 0.5f, 112 + kick_up * 0.5f, 15},
  p.leg_far = {-6, -2}, p.arm_near = {70, 80}, p.arm_far = {-50, -10}, p.dx = 12;
  m["round3"] = p;
  p.fx = Effect::spark_foot;
  m["round2"] = p;

  // Hit reactions: standing, crouching, airborne.
  p = base(), p.lean = -26, p.nod = -16, p.pained = true, p.dx = 10, p.arm_near = {-14, -40},
  p.arm_far = {-24, -56}, p.leg_near = {24, 10}, p.leg_far = {-16, -10}, p.fx = Effect::hurt, p.dx = 2;
  m["hit1"] = p;
  p.fx = Effect::none, p.lean = -16, p.nod = -8, p.arm_near = {12, 62}, p.arm_far = {-10, 40};
  m["hit2"] = p;
  p = base(), p.lean = -4, p.arm_near = {20, 110}, p.pained = true;
  m["hit3"] = p;
  p = crouched(), p.lean = -12, p.pained = true, p.arm_near = {-20, 40}, p.arm_far = {-30, 20},
  p.fx = Effect::hurt, p.dx = 6;
  m["chit1"] = p;
  p.fx = Effect::none, p.lean = 6, p.arm_near = {20, 120};
  m["chit2"] = p;
  p = airborne(), p.lean = -34, p.nod = -18, p.pained = true, p.arm_near = {-70, -110},
  p.arm_far = {-90, -130}, p.leg_near = {40, -10}, p.leg_far = {-30, -60}, p.fx = Effect::hurt, p.dx = -8;
  m["ahit1"] = p;
  p.fx = Effect::none, p.lean = -50, p.air_y = 112;
  m["ahit2"] = p;
  p.lean = -24, p.air_y = 118, p.arm_near = {-60, -20}, p.arm_far = {-80, -40}, p.leg_near = {70, -10};
  m["ahit3"] = p;

  // Crouching punch and sweep.
  p = crouched(), p.arm_near = {10, 110};
  m["cpunch1"] = p;
  p = crouched(), p.lean = 24, p.arm_near = {80, 86}, p.arm_far = {-16, 110};
  m["cpunch3"] = p;
  p.fx = Effect::spark_hand, p.fx_size = 0.8f;
  m["cpunch2"] = p;
  p = crouched(), p.lean = 26, p.leg_near = {70, 40};
  m["ckick1"] = p;
  p = crouched(), p.lean = 30, p.leg_near = {86, 88, 8}, p.leg_far = {64, -50}, p.arm_near = {58, 70},
  p.arm_far = {30, 60}, p.dx = 6;
  m["ckick3"] = p;
  p.fx = Effect::spark_foot, p.fx_size = 0.8f;
  m["ckick2"] = p;

  // Airborne punch and flying kick.
  p = airborne(), p.arm_near = {20, 120};
  m["apunch1"] = p;
  p = airborne(), p.lean = 16, p.arm_near = {70, 62}, p.arm_far = {-20, 100};
  m["apunch3"] = p;
  p.fx = Effect::spark_hand, p.fx_size = 0.8f;
  m["apunch2"] = p;
  p = airborne(), p.leg_near = {100, 20};
  m["akick1"] = p;
  p = airborne(), p.lean = -14, p.leg_near = {62, 56, 10}, p.leg_far = {104, -24}, p.arm_near = {50, 150},
  p.arm_far = {-40, 20}, p.air_y = 96;
  m["akick3"] = p;
  p.fx = Effect::spark_foot, p.fx_size = 0.8f;
  m["akick2"] = p;

  // Special: gather, gather more, release, follow through.
  p = base(), p.lean = -6, p.open_hands = true, p.arm_near = {-34, -70}, p.arm_far = {-38, -76},
  p.leg_near = {24, 0}, p.leg_far = {-24, -10}, p.fx = Effect::glow_small, p.fx_size = 0.8f;
  if (b == Build::caster) p.arm_near = {130, 170}, p.arm_far = {120, 165}, p.nod = -6;
  m["special1"] = p;
  p.fx_size = 1.3f;
  m["special2"] = p;
  p = base(), p.lean = 14, p.open_hands = true, p.arm_near = {84, 88}, p.arm_far = {78, 84},
  p.leg_near = {34, 0}, p.leg_far = {-32, -16}, p.fx = Effect::glow_big, p.dx = 4;
  m["special3"] = p;
  p.fx = Effect::glow_small, p.fx_size = 0.7f;
  m["special4"] = p;

  // Dash: three strides with speed lines.
  p = base(), p.lean = 32, p.arm_near = {-44, -20}, p.arm_far = {50, 120}, p.leg_near = {62, -24},
  p.leg_far = {-42, -54}, p.fx = Effect::speed_lines;
  m["dash1"] = p;
  p.arm_near = {40, 120}, p.arm_far = {-40, -20}, p.leg_near = {-30, -60}, p.leg_far = {56, -10};
  m["dash2"] = p;
  p.lean = 24, p.leg_near = {20, -20}, p.leg_far = {-10, -30};
  m["dash3"] = p;
  return m;
}
}  // namespace

const std::vector<std::string>& pose_names() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> v;
    for (const auto& kv : library(Build::brawler)) v.push_back(kv.first);
    return v;
  }();
  return names;
}

Pose pose_for(const std::string& name, Build build) {
  auto lib = library(build);
  auto it = lib.find(name);
  if (it == lib.end()) throw std::runtime_error("unknown pose " + name);
  return it->second;
}

#include "figure.h"

#include <algorithm>
#include <cmath>

#include "figure_parts.h"

namespace {
constexpr float kPi = 3.14159265f;

RGB darker(RGB c, float t) { return mix(c, kOutline, t); }
}  // namespace

Vec dir(float deg) {
  float r = deg * kPi / 180.0f;
  return {-std::sin(r), std::cos(r)};
}

Material material(const Ramp& near) {
  return {near, Ramp{near.base, near.shade, darker(near.shade, 0.35f)}};
}
Material material(const Ramp& near, const Ramp& far) { return {near, far}; }

Joints solve(const Look& lk, const Pose& p, int cw, int ch) {
  Joints j;
  j.pelvis = {cw / 2.0f + p.dx, 0};
  j.chest = j.pelvis + dir(180 - p.lean) * lk.spine;
  float head_dir = 180 - (p.lean * 0.6f + p.nod);
  j.neck_top = j.chest + dir(head_dir) * lk.neck;
  j.head = j.neck_top + dir(head_dir) * (lk.head_r * 0.85f);
  Vec shoulders = j.chest + dir(-p.lean) * 8.0f;
  j.shoulder_n = shoulders + Vec{-3, 0};
  j.shoulder_f = shoulders + Vec{4, -1};
  j.elbow_n = j.shoulder_n + dir(p.arm_near.a) * lk.upper_arm;
  j.hand_n = j.elbow_n + dir(p.arm_near.b) * lk.fore_arm;
  j.elbow_f = j.shoulder_f + dir(p.arm_far.a) * lk.upper_arm;
  j.hand_f = j.elbow_f + dir(p.arm_far.b) * lk.fore_arm;
  j.hip_n = j.pelvis + Vec{-3, 2};
  j.hip_f = j.pelvis + Vec{4, 0};
  j.knee_n = j.hip_n + dir(p.leg_near.a) * lk.thigh;
  j.ankle_n = j.knee_n + dir(p.leg_near.b) * lk.shin;
  j.toe_n = j.ankle_n + dir(p.leg_near.b + p.leg_near.foot) * lk.foot;
  j.knee_f = j.hip_f + dir(p.leg_far.a) * lk.thigh;
  j.ankle_f = j.knee_f + dir(p.leg_far.b) * lk.shin;
  j.toe_f = j.ankle_f + dir(p.leg_far.b + p.leg_far.foot) * lk.foot;

  float shift;
  if (p.grounded) {
    float lowest = std::max({j.ankle_n.y + lk.ankle_r, j.ankle_f.y + lk.ankle_r, j.toe_n.y + 3,
                             j.toe_f.y + 3});
    shift = (ch - 3) - lowest;
  } else {
    shift = p.air_y;
  }
  Vec d{0, shift};
  for (Vec* v : {&j.pelvis, &j.chest, &j.neck_top, &j.head, &j.shoulder_n, &j.elbow_n, &j.hand_n,
                 &j.shoulder_f, &j.elbow_f, &j.hand_f, &j.hip_n, &j.knee_n, &j.ankle_n, &j.toe_n,
                 &j.hip_f, &j.knee_f, &j.ankle_f, &j.toe_f})
    *v = *v + d;
  return j;
}

Canvas paint_fighter(const Look& look, const Pose& pose) {
  Canvas cv(kFighterW, kFighterH);
  paint_fighter_into(cv, look, pose);
  return cv;
}

void paint_fighter_into(Canvas& cv, const Look& lk, const Pose& p) {
  Joints j = solve(lk, p, cv.width(), cv.height());
  if (p.fx == Effect::speed_lines) paint_effect(cv, lk, p, j);
  paint_back_extras(cv, lk, p, j);
  paint_leg(cv, lk, p.leg_far, j.hip_f, j.knee_f, j.ankle_f, j.toe_f, true);
  paint_arm(cv, lk, p, j.shoulder_f, j.elbow_f, j.hand_f, true);
  paint_torso(cv, lk, p, j);
  paint_head(cv, lk, p, j);
  paint_leg(cv, lk, p.leg_near, j.hip_n, j.knee_n, j.ankle_n, j.toe_n, false);
  paint_front_extras(cv, lk, p, j);
  paint_arm(cv, lk, p, j.shoulder_n, j.elbow_n, j.hand_n, false);
  paint_shoulder_extras(cv, lk, p, j);
  if (p.fx != Effect::speed_lines) paint_effect(cv, lk, p, j);
}

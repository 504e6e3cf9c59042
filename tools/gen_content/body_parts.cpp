// Limbs, torso and head shared by every build.
#include <cmath>

#include "figure_parts.h"

namespace {
Vec lerp(Vec a, Vec b, float t) { return a + (b - a) * t; }
const Ramp& pick(const Material& m, bool far) { return far ? m.far : m.near; }
}  // namespace

void paint_leg(Canvas& cv, const Look& lk, const Limb& limb, Vec hip, Vec knee, Vec ankle, Vec toe,
               bool far) {
  const float o = 2.0f;
  float s = far ? 3.0f : 4.0f;
  // Thigh first so the knee joint of the shin sits over it.
  draw(cv, capsule(hip, knee, lk.thigh_r, lk.thigh_r * 0.82f), toned(pick(lk.pants, far), o, s));
  draw(cv, capsule(knee, ankle, lk.shin_r, lk.ankle_r), toned(pick(lk.pants, far), o, s));
  // Boot from mid-shin down, then the foot.
  Vec boot_top = lerp(knee, ankle, lk.build == Build::armoured ? 0.15f : 0.5f);
  float top_r = lk.shin_r * (lk.build == Build::armoured ? 1.05f : 0.95f);
  draw(cv, capsule(boot_top, ankle, top_r, lk.ankle_r + 1), toned(pick(lk.boots, far), o, s));
  draw(cv, capsule(ankle, toe, lk.ankle_r + 1, lk.ankle_r * 0.75f), toned(pick(lk.boots, far), o, 3));
  if (lk.build == Build::armoured) {  // knee guard
    draw(cv, circle(knee, lk.shin_r + 1.5f), toned(pick(lk.gloves, far), o, 3, 2));
  }
  if (lk.build == Build::kicker) {  // shin guard strap
    draw(cv, capsule(lerp(knee, ankle, 0.2f), lerp(knee, ankle, 0.45f), lk.shin_r * 0.9f,
                     lk.shin_r * 0.85f),
         toned(pick(lk.belt, far), o, 2, 1));
  }
}

void paint_arm(Canvas& cv, const Look& lk, const Pose& p, Vec shoulder, Vec elbow, Vec hand,
               bool far) {
  const float o = 2.0f;
  float s = far ? 3.0f : 4.0f;
  draw(cv, capsule(shoulder, elbow, lk.arm_r, lk.arm_r * 0.85f), toned(pick(lk.sleeves, far), o, s));
  // Forearm: bare skin, or wrapped / armoured where the look has long gloves.
  const Material& fore = (lk.build == Build::brawler || lk.build == Build::armoured) ? lk.gloves : lk.skin;
  draw(cv, capsule(elbow, hand, lk.fore_r, lk.fore_r * 0.8f), toned(pick(fore, far), o, s));
  if (lk.build == Build::caster) {  // wide sleeve cuff
    Vec cuff = elbow + (hand - elbow) * 0.35f;
    draw(cv, capsule(elbow, cuff, lk.fore_r + 2, lk.fore_r + 4), toned(pick(lk.sleeves, far), o, s));
  }
  if (p.open_hands) {
    Vec d = hand - elbow;
    float l = std::sqrt(d.x * d.x + d.y * d.y);
    Vec tip = hand + d * (lk.fist_r / std::max(1.0f, l));
    draw(cv, capsule(hand, tip, lk.fist_r * 0.8f, lk.fist_r * 0.6f), toned(pick(lk.gloves, far), o, 2, 1));
  } else {
    draw(cv, circle(hand, lk.fist_r), toned(pick(lk.gloves, far), o, 3, 2));
  }
}

void paint_torso(Canvas& cv, const Look& lk, const Pose& p, const Joints& j) {
  const float o = 2.0f;
  Vec up = j.chest - j.pelvis;
  float l = std::sqrt(up.x * up.x + up.y * up.y);
  Vec u = up * (1.0f / l);
  Vec n{-u.y, u.x};  // across the body
  // Hips in the trouser material.
  draw(cv, ellipse(j.pelvis + u * 2.0f, lk.hip_w / 2, 13, -p.lean), toned(lk.pants.near, o, 4));
  // Chest and waist as one silhouette.
  Vec chest_c = j.chest - u * 16.0f;
  Vec waist = j.pelvis + u * 12.0f;
  Shape torso = unite(ellipse(chest_c, lk.chest_w / 2, 21, -p.lean),
                      polygon({chest_c + n * (lk.chest_w * 0.45f), chest_c - n * (lk.chest_w * 0.45f),
                               waist - n * (lk.waist_w / 2), waist + n * (lk.waist_w / 2)}));
  draw(cv, torso, toned(lk.top.near, o, 5, 2));
  // Belt across the waist.
  Vec b = j.pelvis + u * 9.0f;
  draw(cv, bar(b - n * (lk.waist_w / 2 + 1), b + n * (lk.waist_w / 2 + 1), 3.5f),
       toned(lk.belt.near, o, 2, 1));
}

void paint_head(Canvas& cv, const Look& lk, const Pose& p, const Joints& j) {
  const float o = 2.0f;
  draw(cv, capsule(j.chest, j.neck_top, lk.head_r * 0.45f, lk.head_r * 0.42f), toned(lk.skin.near, o, 3, 0));
  Vec h = j.head;
  float r = lk.head_r;
  if (lk.build == Build::armoured) {
    paint_helmet(cv, lk, p, j);
    return;
  }
  // Face with a little jaw toward the front.
  Shape head = unite(circle(h, r), ellipse(h + Vec{-r * 0.35f, r * 0.45f}, r * 0.6f, r * 0.45f));
  draw(cv, head, toned(lk.skin.near, o, 3, 1));
  // Eye on the front side of the face.
  Vec eye = h + Vec{-r * 0.5f, -r * 0.05f};
  if (p.pained) {
    draw(cv, bar(eye + Vec{-2.5f, -1.5f}, eye + Vec{2.5f, 1.5f}, 0.8f), flat(kOutline, 0));
    draw(cv, ellipse(h + Vec{-r * 0.55f, r * 0.55f}, 2.2f, 2.6f), flat(kOutline, 0));
  } else {
    draw(cv, ellipse(eye, 2.6f, 2.0f), flat(RGB{250, 250, 250}, 1.0f));
    draw(cv, bar(eye + Vec{-2.0f, 0}, eye + Vec{0, 0}, 1.3f), flat(lk.eye, 0));
    draw(cv, bar(eye + Vec{-3.5f, -4.0f}, eye + Vec{2.5f, -3.0f}, 0.9f), flat(kOutline, 0));
    draw(cv, bar(h + Vec{-r * 0.75f, r * 0.62f}, h + Vec{-r * 0.4f, r * 0.62f}, 0.6f), flat(kOutline, 0));
  }
  paint_hair(cv, lk, p, j);
}

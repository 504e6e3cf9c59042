// Costume pieces that give each build its silhouette: topknot and sash tails,
// ponytail and scarf, cape and robe, helmet, pauldrons and tabard.
#include <cmath>

#include "figure_parts.h"

namespace {
Vec lerp(Vec a, Vec b, float t) { return a + (b - a) * t; }
Vec unit(Vec v) {
  float l = std::sqrt(v.x * v.x + v.y * v.y);
  return l > 0 ? v * (1.0f / l) : Vec{0, -1};
}
// The pose's "motion" sways loose cloth: leaning forward throws it back.
float sway(const Pose& p) { return p.lean * 0.6f; }
}  // namespace

void paint_hair(Canvas& cv, const Look& lk, const Pose& p, const Joints& j) {
  Vec h = j.head;
  float r = lk.head_r;
  Paint hair = toned(lk.hair.near, 2, 3, 2);
  switch (lk.build) {
    case Build::brawler: {
      // Short crop on the back of the skull, a topknot and a headband.
      draw(cv, subtract(circle(h + Vec{2, -1}, r + 1), circle(h + Vec{-6, 4}, r * 0.95f)), hair);
      draw(cv, ellipse(h + Vec{5, -r - 3}, 5, 4.5f, 20), hair);
      Vec band0 = h + Vec{-r, -r * 0.35f}, band1 = h + Vec{r, -r * 0.25f};
      draw(cv, bar(band0, band1, 2.5f), toned(Ramp{lk.accent, lk.accent, lk.accent_dark}, 1.5f, 2, 0));
      break;
    }
    case Build::kicker: {
      draw(cv, subtract(circle(h + Vec{1, -2}, r + 2), circle(h + Vec{-8, 5}, r * 0.9f)), hair);
      // Fringe over the brow.
      draw(cv, polygon({h + Vec{-r - 1, -r * 0.1f}, h + Vec{-r * 0.2f, -r - 1}, h + Vec{r * 0.2f, -r * 0.2f}}),
           hair);
      break;
    }
    case Build::caster: {
      // Long silver hair falling behind the shoulders.
      draw(cv, subtract(circle(h + Vec{2, -1}, r + 2), circle(h + Vec{-7, 5}, r * 0.85f)), hair);
      draw(cv, polygon({h + Vec{0, -r}, h + Vec{r + 3, -2}, h + Vec{r + 8 + sway(p), r * 2.6f},
                        h + Vec{r * 0.3f, r * 2.2f}}),
           hair);
      break;
    }
    case Build::armoured:
      break;
  }
}

void paint_helmet(Canvas& cv, const Look& lk, const Pose& p, const Joints& j) {
  Vec h = j.head;
  float r = lk.head_r + 1.5f;
  Paint steel = toned(lk.gloves.near, 2, 4, 2);
  // Crest first so the dome overlaps its root.
  draw(cv, polygon({h + Vec{-2, -r + 2}, h + Vec{6, -r - 9}, h + Vec{r + 9, -r - 4}, h + Vec{r, -2}}),
       toned(Ramp{lk.accent, lk.accent, lk.accent_dark}, 2, 3, 0));
  draw(cv, unite(circle(h, r), polygon({h + Vec{-r, 0}, h + Vec{-r + 2, r + 3}, h + Vec{r, r + 2},
                                        h + Vec{r, 0}})),
       steel);
  // Visor slit with a glowing eye.
  draw(cv, bar(h + Vec{-r - 0.5f, -1}, h + Vec{-r * 0.1f, -1}, 2.2f), flat(kOutline, 0));
  draw(cv, bar(h + Vec{-r + 1.5f, -1}, h + Vec{-r * 0.45f, -1}, 1.2f), flat(lk.eye, 0));
  // Cheek guard rivet.
  draw(cv, circle(h + Vec{r * 0.2f, r * 0.45f}, 1.6f), flat(lk.gloves.near.light, 1));
}

void paint_back_extras(Canvas& cv, const Look& lk, const Pose& p, const Joints& j) {
  switch (lk.build) {
    case Build::brawler: {
      // Sash tails hanging behind the belt.
      Vec root = j.pelvis + Vec{lk.waist_w * 0.4f, -8};
      Vec tip = root + Vec{10 + sway(p), 30};
      Ramp sash{lk.accent, lk.accent, lk.accent_dark};
      draw(cv, capsule(root, tip, 4, 2.5f), toned(sash, 2, 2, 0));
      draw(cv, capsule(root, tip + Vec{9, -4}, 3.5f, 2), toned(sash, 2, 2, 0));
      // Headband tails.
      Vec knot = j.head + Vec{lk.head_r, -lk.head_r * 0.25f};
      draw(cv, capsule(knot, knot + Vec{13 + sway(p), 6}, 2.5f, 1.5f), toned(sash, 1.5f, 1, 0));
      draw(cv, capsule(knot, knot + Vec{11 + sway(p), 12}, 2.5f, 1.5f), toned(sash, 1.5f, 1, 0));
      break;
    }
    case Build::kicker: {
      // Ponytail and the long scarf tail stream out behind.
      Vec root = j.head + Vec{lk.head_r * 0.8f, -lk.head_r * 0.5f};
      Vec mid = root + Vec{10 + sway(p), 12};
      Vec tip = mid + Vec{6 + sway(p) * 1.5f, 20};
      Paint hair = toned(lk.hair.near, 2, 3, 1);
      draw(cv, capsule(root, mid, 5, 4.5f), hair);
      draw(cv, capsule(mid, tip, 4.5f, 1.5f), hair);
      Vec s0 = j.neck_top + Vec{4, 2};
      Ramp scarf{lk.accent, lk.accent, lk.accent_dark};
      draw(cv, polygon({s0, s0 + Vec{22 + sway(p) * 1.5f, 8}, s0 + Vec{30 + sway(p) * 2, 22},
                        s0 + Vec{14 + sway(p), 14}, s0 + Vec{0, 6}}),
           toned(scarf, 2, 3, 0));
      break;
    }
    case Build::caster: {
      // The cape hangs from the shoulders and flares behind the legs.
      Vec top = j.neck_top + Vec{2, 4};
      Vec back = j.shoulder_f + Vec{10, 4};
      float hem_y = std::max(j.ankle_n.y, j.ankle_f.y) - 6;
      Vec hem_back{j.pelvis.x + 30 + sway(p) * 1.6f, hem_y};
      Vec hem_front{j.pelvis.x - 2 + sway(p) * 0.8f, hem_y + 2};
      draw(cv, polygon({top, back, lerp(back, hem_back, 0.5f) + Vec{6, 0}, hem_back,
                        hem_back + Vec{-10, 4}, hem_front}),
           toned(lk.cape.near, 2, 6, 0));
      break;
    }
    case Build::armoured: {
      // Short heavy cloak behind the back.
      Vec top = j.shoulder_f + Vec{2, -2};
      Vec hem{j.pelvis.x + 18 + sway(p), j.pelvis.y + 22};
      draw(cv, polygon({top, top + Vec{12, 6}, hem + Vec{4, 0}, hem + Vec{-16, 4}, j.pelvis + Vec{4, -10}}),
           toned(lk.pants.far, 2, 4, 0));
      break;
    }
  }
}

void paint_front_extras(Canvas& cv, const Look& lk, const Pose& p, const Joints& j) {
  Vec up = unit(j.chest - j.pelvis);
  Vec n{-up.y, up.x};
  switch (lk.build) {
    case Build::caster: {
      // Robe skirt from the belt, split so kicks still show the leg.
      Vec w0 = j.pelvis + up * 8.0f;
      Vec kn = lerp(j.knee_n, j.knee_f, 0.5f);
      float reach = std::min(26.0f, std::max(10.0f, (kn.y - w0.y) * 0.55f + 6));
      draw(cv, polygon({w0 - n * 14.0f, w0 + n * 14.0f, j.knee_f + Vec{10, 4}, j.knee_f + Vec{-4, reach * 0.5f},
                        lerp(j.hip_n, j.knee_n, 0.7f) + Vec{-6, 4}}),
           toned(lk.top.near, 2, 4, 2));
      // Gold trim down the front of the robe.
      draw(cv, capsule(j.chest + Vec{-lk.chest_w * 0.3f, 4}, w0 + Vec{-10, 0}, 2, 2),
           toned(lk.belt.near, 1, 1, 0));
      break;
    }
    case Build::armoured: {
      // Breastplate over the chest and a tabard hanging from the belt.
      Vec c = j.chest - up * 15.0f;
      draw(cv, polygon({c + n * (lk.chest_w * 0.48f) + up * 12.0f, c - n * (lk.chest_w * 0.48f) + up * 12.0f,
                        c - n * (lk.chest_w * 0.38f) - up * 16.0f, c - up * 20.0f,
                        c + n * (lk.chest_w * 0.38f) - up * 16.0f}),
           toned(lk.gloves.near, 2, 5, 2));
      Vec w = j.pelvis + up * 6.0f;
      Vec low = lerp(j.knee_n, j.knee_f, 0.5f) + Vec{0, -6};
      draw(cv, polygon({w + n * 10.0f, w - n * 10.0f, low + Vec{9, 0}, low + Vec{-9, 0}}),
           toned(lk.belt.near, 2, 3, 1));
      break;
    }
    default:
      break;
  }
}

void paint_shoulder_extras(Canvas& cv, const Look& lk, const Pose& p, const Joints& j) {
  if (lk.build == Build::armoured) {
    Vec d = unit(j.elbow_n - j.shoulder_n);
    float ang = std::atan2(d.y, d.x) * 180.0f / 3.14159265f - 90.0f;
    draw(cv, ellipse(j.shoulder_n + d * 4.0f, 14, 11, ang), toned(lk.gloves.near, 2, 4, 2));
    draw(cv, circle(j.shoulder_n + d * 4.0f, 2), flat(lk.gloves.near.light, 1));
  } else if (lk.build == Build::kicker) {
    // Scarf wrap around the neck sits over the shoulders.
    draw(cv, ellipse(j.neck_top + Vec{0, 4}, lk.head_r * 0.75f, 5, -p.lean),
         toned(Ramp{lk.accent, lk.accent, lk.accent_dark}, 2, 2, 1));
  } else if (lk.build == Build::caster) {
    // High collar.
    draw(cv, polygon({j.neck_top + Vec{-4, 9}, j.neck_top + Vec{2, 0}, j.neck_top + Vec{11, -5},
                      j.neck_top + Vec{11, 9}}),
         toned(lk.cape.near, 2, 2, 0));
  }
}

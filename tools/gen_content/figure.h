// A posed fighter: the skeleton of a pose, the look of a fighter, and the
// painter that turns both into a picture facing left on a keyed canvas.
#pragma once
#include "canvas.h"
#include "shapes.h"

// Limb angles in degrees from straight down; positive turns toward the
// fighter's front (left on the picture), 90 points straight ahead.
struct Limb {
  float a = 0;        // upper arm or thigh
  float b = 0;        // forearm or shin
  float foot = 90;    // foot relative to the shin (legs only)
};

enum class Effect { none, spark_hand, spark_foot, glow_small, glow_big, hurt, speed_lines };

struct Pose {
  float lean = 4;       // spine lean, forward positive
  float nod = 0;        // extra head tilt
  Limb arm_near{25, 150}, arm_far{15, 140};
  Limb leg_near{14, 0}, leg_far{-14, -6};
  float dx = 0;         // pelvis shift from the picture's centre
  bool grounded = true; // feet rest on the bottom edge
  float air_y = 110;    // pelvis height when not grounded
  Effect fx = Effect::none;
  float fx_size = 1.0f;
  bool open_hands = false;
  bool pained = false;  // closed eyes, open mouth
};

enum class Build { brawler, kicker, caster, armoured };

struct Material {
  Ramp near;
  Ramp far;  // the limbs on the far side, a step darker
};
Material material(const Ramp& near);
Material material(const Ramp& near, const Ramp& far);

struct Look {
  Build build;
  // Proportions in pixels.
  float spine, neck, head_r, upper_arm, fore_arm, thigh, shin, foot;
  float chest_w, waist_w, hip_w;
  float arm_r, fore_r, fist_r, thigh_r, shin_r, ankle_r;
  Material skin, top, pants, boots, gloves, hair, belt, sleeves, cape;
  RGB eye, accent, accent_dark;
  Ramp glow;  // colour of its energy
};

struct Joints {
  Vec pelvis, chest, neck_top, head;
  Vec shoulder_n, elbow_n, hand_n, shoulder_f, elbow_f, hand_f;
  Vec hip_n, knee_n, ankle_n, toe_n, hip_f, knee_f, ankle_f, toe_f;
};

constexpr int kFighterW = 184;
constexpr int kFighterH = 208;

Joints solve(const Look& look, const Pose& pose, int canvas_w, int canvas_h);
Vec dir(float deg);
// Paints the fighter on a fresh keyed canvas of kFighterW x kFighterH.
Canvas paint_fighter(const Look& look, const Pose& pose);
// Paints into an existing canvas with the pelvis shifted by (ox, oy).
void paint_fighter_into(Canvas& cv, const Look& look, const Pose& pose);

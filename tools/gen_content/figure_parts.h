// The body parts of a fighter, painted in back-to-front order by figure.cpp.
#pragma once
#include "figure.h"

void paint_leg(Canvas& cv, const Look& lk, const Limb& limb, Vec hip, Vec knee, Vec ankle, Vec toe,
               bool far);
void paint_arm(Canvas& cv, const Look& lk, const Pose& p, Vec shoulder, Vec elbow, Vec hand, bool far);
void paint_torso(Canvas& cv, const Look& lk, const Pose& p, const Joints& j);
void paint_head(Canvas& cv, const Look& lk, const Pose& p, const Joints& j);
// Costume pieces that hang behind the body (capes, ponytails, sash tails).
void paint_back_extras(Canvas& cv, const Look& lk, const Pose& p, const Joints& j);
// Pieces worn over the body (robe skirt, tabard, chest plate).
void paint_front_extras(Canvas& cv, const Look& lk, const Pose& p, const Joints& j);
// Pieces over the near arm's shoulder (pauldrons).
void paint_shoulder_extras(Canvas& cv, const Look& lk, const Pose& p, const Joints& j);
// Sparks, glows and speed lines.
void paint_effect(Canvas& cv, const Look& lk, const Pose& p, const Joints& j);
// Hair (or hood) over the head, per build.
void paint_hair(Canvas& cv, const Look& lk, const Pose& p, const Joints& j);
// The armoured build's helmet replaces face and hair.
void paint_helmet(Canvas& cv, const Look& lk, const Pose& p, const Joints& j);

// Training's hit boxes: every live lifeform's box as the hit rules see it
// this frame, outlined over the fight in either drawing mode. A box that can
// hurt (a fighter in its attacking posture, a projectile) is a blow; any
// other is a body.
#pragma once

class lifeform;

struct hit_box_colours {
  unsigned char body[3] = {60, 170, 255};  // light blue
  unsigned char blow[3] = {255, 40, 40};   // red
};

// True when `l`'s box hurts what it touches.
bool box_is_blow(const lifeform& l);

// Outlines every live lifeform of lifeform_list under the level's camera.
void draw_training_hit_boxes();

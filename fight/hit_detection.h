// How the lifeforms of lifeform_list hurt each other, once per fight frame
// after the camera is set and before the per-object update: the overlap test
// on the boxes as mapped to the screen, body contact between the two fighters,
// and projectile strikes over every pair of live lifeforms.
#pragma once

class lifeform;

struct screen_box {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// A world box of a lifeform whose current height is `lifeform_height`, mapped
// with the level's scroll and zoom: x scaled, y only shifted by h - h * zoom.
screen_box map_to_screen(int left, int top, int right, int bottom, int lifeform_height);

// True when the body boxes of p and q overlap on screen (touching edges count).
// The host hears of both (boxes_compared) before it answers, to outline them later.
bool overlap_test(lifeform& p, lifeform& q);

// Size of the move in `slot` without asking for it (no "missing" line: the
// outlines only draw with it); 0 x 0 without that move.
void move_size(const lifeform& l, int slot, int& w, int& h);

// Width of the lifeform's first picture, 0 without one.
int first_image_width(const lifeform& l);

// Guarding postures: blocking (3) and the block-struck ones (6, 7, 8).
bool guarding(const lifeform& l);

// Body contact between entries 0 and 1; nothing when either is missing.
void body_contact();

// Strikes between every pair of live lifeforms of different teams of which at
// least one is a projectile.
void projectile_hits();

// The strike rule: `struck` hit by `striker`.
void strike(lifeform& struck, const lifeform& striker);

// Body-contact hurt: 10 hit points and the hit reaction from move `slot`,
// unless `l` already plays its hit reaction. True when it was hurt.
bool hurt_by_contact(lifeform& l, int slot);

// The rules half of the per-object step of every fight frame: what a live
// lifeform does from its requests (posture, attacks, combo moves, dashes,
// jumps and falls), how it moves and where the level holds it. Drawing it,
// its afterimages and the texts over it is left to the caller, between and
// after these calls (update_lifeform).
#pragma once
#include "fighter/lifeform.h"  // posture and move slot names

// Entry `k` of lifeform_list, `l`, up to its afterimages: velocities cleared,
// steered (a weapon shot's sound to `effects`), posture from the requests,
// attack and combo started, posture from the special animation that plays.
void begin_lifeform_step(lifeform& l, int k, frame_effect_sink& effects);

// While `l` dashes, its dash speeds it up 3 along the dash; true then, and the
// afterimages are due.
bool dash_speed_up(lifeform& l);

// The rest of the step after the afterimages: blocking, jumping and landing,
// the two fighters' attack rule, the move and, when on, the body push.
void end_lifeform_step(lifeform& l, int k);

// The combo text over `l` (combo_shown) is taken down once the tick count
// reaches combo_shown_until.
void expire_combo_text(lifeform& l);

// Moves `l` by `ticks` steps of its velocity plus drive, then keeps it inside
// the level (edge_death 0) or kills it at the edge (edge_death 1).
void movement_step(lifeform& l, int ticks);

// The largest x at which a lifeform clamped to the level (edge_death 0) stays.
double held_right_limit(const lifeform& l);

// True while `l` plays the first animation of its move in `slot`.
bool playing_move(const lifeform& l, int slot);

// Standing on the floor: the bottom edge is at the screen's bottom.
bool on_floor(const lifeform& l);

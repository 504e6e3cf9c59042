// Setting the stage between rounds: both fighters back where the fight set-up
// put them, at full health and standing, no projectiles, no shake or flash.
#pragma once

class lifeform;

void reset_for_next_round();

// A fighter that lost the round by a knock-out: its hit posture on the floor,
// whatever it was doing, so it stays shown while the K.O. is announced.
void lay_down(lifeform& l);

// A laid-down fighter drawn lying in its character file's "knocked_out" picture:
// its bottom edge on the floor, centred under the fighter's box, mirrored to
// its facing, under the stage's camera as the fighters are drawn. Changes
// nothing else. False, and nothing drawn, when the fighter has no such
// picture (or it didn't load): it is then shown in its hit posture.
bool draw_lying(lifeform& l);

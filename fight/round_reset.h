// Setting the stage between rounds: both fighters back where the fight set-up
// put them, at full health and standing, no projectiles, no shake or flash.
#pragma once
class lifeform;

// Where entry `entry` (0 or 1) of lifeform_list starts on the loaded level:
// 200 pixels left (entry 0) or right (entry 1) of the level's centre.
int fight_start_x(int entry);

void reset_for_next_round();
// A fighter that lost the round by a knock-out: its hit posture on the floor,
// whatever it was doing, so it stays shown while the K.O. is announced.
void lay_down(lifeform& l);

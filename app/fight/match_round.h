// Setting the stage between rounds: both fighters back where the fight set-up
// put them, at full health and standing, no projectiles, no shake or flash.
#pragma once

class lifeform;

void reset_for_next_round();

// A fighter that lost the round by a knock-out: its hit posture on the floor,
// whatever it was doing, so it stays shown while the K.O. is announced.
void lay_down(lifeform& l);

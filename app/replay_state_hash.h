// One number for the fight state a replay must reproduce: every lifeform's
// position, velocity, health, posture, move and animation frame, each path's
// combo recogniser and the computer opponent's memory, and the random source.
#pragma once

unsigned long long fight_state_hash();

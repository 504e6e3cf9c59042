// One number for the fight state a replay must reproduce: every lifeform's
// position, velocity, health, posture, move and animation frame, each path's
// combo recogniser and the computer opponent's memory, and the random source
// (`random_state`: what stands for it in this run).
#pragma once

unsigned long long fight_state_hash(unsigned long long random_state);

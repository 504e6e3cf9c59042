// One number for everything a fight frame changes, so a replay can tell at
// once when it has gone astray: every lifeform (knocked-out fighters and
// projectiles too) with its motion, jump drive, posture, health, the move and
// animation frame it plays, its weapons' reload counters; each path's step,
// combo recogniser, actions and the computer opponent's memory; the stage's
// shake, flash and camera; the match; the random source (`random_state`:
// what stands for it in this run).
#pragma once

class level;
class match_state;

struct fight_state;

// Over every byte of a saved fight (fight/fight_state.h): two states hash
// equal when their bytes are equal, and any one byte changed changes it.
unsigned long long fight_state_hash(const fight_state& state);

// `stage` and `match` may be null (no stage; a fight without match rules).
unsigned long long fight_state_hash(unsigned long long random_state, const level* stage, const match_state* match);

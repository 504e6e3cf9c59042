// --replay of an online fight: the match stepped again from the replay's
// actions, set up as the online fight was (the host's seed and rules, the
// host's fighter as entry 1, the guest's as entry 0), every check compared,
// and the same end line as the fight's own, under "replay:".
#pragma once

struct run_options;

// --replay names a replay of an online fight.
bool is_online_replay(const run_options& options);

// The exit status: 0 when it played to the end with every check matched (or
// the player stopped it), 2 when it can't be played here, 3 on a desync.
int play_online_replay(const run_options& options);

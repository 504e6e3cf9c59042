// Recording a run (--record FILE) and playing one back (--replay FILE).
// Both run on the scripted clock (1000/fps ms a frame) with the keyboard and
// joystick 0 read once per frame, so a recording sees exactly what its replay
// will; the recording still plays at the normal pace.
#pragma once
#include <string>

#include "app/run_options.h"
#include "app/settings.h"

// Before the random source is seeded: a replay sets the seed and the fighter
// from its header; a recording without --seed picks one. False with `error`
// when the replay can't be read.
bool prepare_replay_options(run_options& options, std::string& error);

// After the settings are read: a replay plays at the size and rate it was recorded at.
void apply_replay_settings(const run_options& options, game_settings& settings);

// After the script driver is installed: opens the recording (false with
// `error` when it can't be written) or arms the replay's checks.
bool start_replay_session(const run_options& options, const game_settings& settings, std::string& error);

bool replaying();

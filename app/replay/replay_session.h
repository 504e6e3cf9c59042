// Recording a run (--record FILE), keeping every played run in memory so F9
// can save it, and playing one back (--replay FILE).
// --record runs on the scripted clock (1000/fps ms a frame); a kept run keeps
// its clock and every reading of it. Either way the keyboard and joystick 0
// are read once per frame, so a recording sees exactly what its replay will.
#pragma once
#include <string>

#include "app/run_options.h"
#include "app/settings.h"

// Before the random source is seeded: a replay sets the seed and the fighter
// from its header; any other run without --seed picks one from the clock. False with `error`
// when the replay can't be read.
bool prepare_replay_options(run_options& options, std::string& error);

// After the settings are read: a replay plays at the size and rate it was recorded at.
void apply_replay_settings(const run_options& options, game_settings& settings);

// After the script driver is installed: opens the recording (false with
// `error` when it can't be written), starts keeping the run (not for --demo
// or --benchmark), or arms the replay's checks.
bool start_replay_session(const run_options& options, const game_settings& settings, std::string& error);

bool replaying();

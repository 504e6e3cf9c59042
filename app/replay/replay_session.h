// Recording a run (--record FILE), keeping every played run in memory so F9
// can save it, and playing one back (--replay FILE).
// --record runs on the scripted clock (1000/fps ms a frame); a kept run keeps
// its clock and every reading of it. Either way the keyboard and joystick 0
// are read once per frame, so a recording sees exactly what its replay will.
#pragma once
#include <string>

#include "app/run_options.h"
#include "app/settings.h"
#include "fighter/player_actions.h"

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

// The actions of the frame being made, as the replay being played holds them;
// false when no replay plays.
bool replayed_actions(player_actions out[2]);
// The actions read for the frame being made, kept by a recording and by the
// run F9 saves, a line for each player whose actions changed.
void note_actions(const player_actions held[2]);
// The fight has stepped the frame being made (`match`: its match, null
// without one): its state is what the next frame's check compares.
class match_state;
void note_fight_stepped(const match_state* match);

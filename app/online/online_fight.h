// The online fight, once a session is ready: both sides' picks cross the
// session, then the match runs on both machines through a rollback engine.
// The host plays entry 1 and the guest entry 0, each with player 1's keys;
// both play by the host's seed and rules. The frames shown are the present
// ones; frames stepped again after a late input are not drawn, and what is
// heard and logged follows the corrected story (app/online/online_fight_game.h).
#pragma once

class net_session;
struct run_options;
struct game_settings;

// Runs the fight until the match is decided on the confirmed inputs, the
// player leaves, the other side leaves or the connection is lost. The exit
// status: 0, or 1 when the fight failed (an ERROR line says why).
int run_online_fight(net_session& session, const run_options& options, const game_settings& settings);

// The online fight, once a session is ready and both picks are known: the
// match runs on both machines through a rollback engine. The host plays
// entry 1 and the guest entry 0, each with player 1's keys; both play by the
// host's rules and the given seed. The frames shown are the present ones;
// frames stepped again after a late input are not drawn, and what is heard
// and logged follows the corrected story (app/online/online_fight_game.h).
#pragma once
#include <vector>

#include "net/packet.h"

class net_session;
struct run_options;
struct game_settings;

struct online_picks {
  int host = 0;   // roster position the host plays (entry 1)
  int guest = 0;  // roster position the guest plays (entry 0)
};

enum class online_fight_end {
  decided,        // the match was decided on the confirmed inputs of both sides
  left,           // this player left (Escape, the window closed)
  opponent_left,  // the other side quit
  lost,           // the connection was lost
  failed,         // the two sides disagreed (desynchronised)
};

struct online_fight_outcome {
  int status = 0;  // the exit status: 0, or 1 when the fight failed (an ERROR line says why)
  online_fight_end end = online_fight_end::left;
  int winner = -1;       // entry that won a decided match, -1 for a draw
  int local_entry = 0;   // this side's entry: 1 on the host, 0 on the guest
  // What the other side said for after the match (Rematch, Character
  // select, a pick) while this side was still finishing it.
  std::vector<net_message> for_later;
};

// Runs one match until it is decided, the player leaves, the other side
// leaves or the connection is lost. `early` holds inputs of this match that
// came before it started. Puts back the match rules, the fight options, the
// input seams and the text renderer it found, so the menus carry on as before.
online_fight_outcome run_online_fight(net_session& session, const run_options& options, const game_settings& settings,
                                      const online_picks& picks, unsigned seed, const std::vector<net_inputs>& early);

// The round trip to the other side, small in the corner of the fight.
void draw_online_ping(int ping_ms);

// When the two sides' state hashes differ the fight stops on both. Each side
// sends the other its confirmed state at that frame, waits a moment for the
// other's, and writes both states field by field next to its replays, so
// whoever looks into it sees at once which fields went astray.
#pragma once
#include <string>

class net_session;
class online_fight_game;
struct fight_state;
struct run_options;

// Sends this side's state at `frame` (false when it is no longer kept).
bool send_desync_state(net_session& session, const online_fight_game& game, int frame);

// Waits up to two seconds for the other side's state at `frame` (Escape and
// closing the window end the wait), then writes the dump: beside the file of
// --record when given, else in the player's replays folder; says where in
// the log, and when the other side's state never came.
void write_desync_dump(net_session& session, const online_fight_game& game, int frame, bool hosting,
                       const run_options& options);

// The dump's text: a header, then "* field: this side | other side" for the
// fields that differ and the others (`theirs` null: this side's alone).
std::string desync_dump_text(int frame, bool hosting, const fight_state* mine, const fight_state* theirs);

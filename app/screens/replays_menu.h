// The Replays screen, opened from the main menu: the replays saved with F9,
// newest first, each with its date, both fighters, the result and its
// length. Return plays the one chosen in a game of its own (Escape there
// ends it and comes back here); Delete removes it after a Yes. A replay this
// build can't play is listed dimmed, with the reason.
#pragma once
#include <string>
#include <vector>

#include "app/replay/replay_listing.h"
#include "app/screens/menu_panel.h"

struct title_screens;

// The row shown for `e`.
menu_panel_row replay_row(const replay_entry& e);

// Runs the screen until Back or Escape, listing `folder`.
void run_replays_screen(title_screens& titles, const std::string& folder);

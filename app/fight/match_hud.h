// What a match shows over the fight: each fighter's gauge on its own side for
// the whole match (entry 0 on the left, entry 1 on the right) with its name
// and one mark per round won, and the round clock at the top centre. Sizes
// follow hud_px.
#pragma once

class match_state;

// Gauges, names, marks and clock of this frame.
void draw_match_hud(const match_state& match);

// Screen x where entry `entry`'s gauge starts, and the facing its bar grows
// by (1: to the right), for a screen `screen_w` wide.
struct gauge_side {
  int x;
  int facing;
};
gauge_side match_gauge_side(int entry, int screen_w);

// The match's big centred words ("Round 1", "Fight!", "K.O.", the winner):
// the fight's font at a large size, sized for the screen with hud_px. Seen
// by fight_text_watcher and the fight trace like the fight's other messages.
#pragma once

constexpr int big_text_point_size = 40;  // at a 480-line screen

// Draws `text` centred horizontally with its top at `y`.
void draw_big_text_centred(int y, const char* text);
// Draws `text` in the fight's font centred horizontally with its top at `y`.
void draw_fight_text_centred(int y, const char* text);
// Height of a line of big text on this screen.
int big_text_height();

// The game's side of the fight host: the video's screen, the developer trace,
// and in OpenGL mode the outlines of the boxes each hit test compares, kept
// as the test saw them and drawn once the frame's hits are resolved.
#pragma once

// Makes the game's host the one the fight rules use (the video does it on start).
void install_app_fight_host();

// Draws the outlines of the boxes compared since the last call, and forgets them.
void draw_hit_outlines();

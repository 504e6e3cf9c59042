// The game's side of the fight host: the video's screen, the developer trace,
// and in OpenGL mode the outlines of the boxes each hit test compares.
#pragma once

// Makes the game's host the one the fight rules use (the video does it on start).
void install_app_fight_host();

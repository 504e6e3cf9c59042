// Opening the window for the runs that bypass the full game start (online
// play, an online replay, the fighter viewer): OpenGL when the options or the
// settings ask for it, else surfaces, at the settings' size and depth.
#pragma once

struct run_options;
struct game_settings;

// Sets g_video's flags from `settings`, settles its depth and opens the
// window; when that fails, logs an ERROR naming `who` ("the viewer") and
// returns false.
bool open_game_window(const run_options& options, game_settings& settings, const char* who);

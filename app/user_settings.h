// The player's settings file: what a player changed (difficulty, match
// length, volumes, window) kept between runs, over game.ini's values.
//
// The file is key=value tokens like the data files, one a line when the game
// writes it. It is read key by key: a key that is unknown, malformed or out of
// range gets a WARNING naming the file and line, and game.ini's value stays.
// Keys of player bindings (p1_..., p2_...) are kept as they are, so the file
// comes back whole when the game rewrites it.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "app/settings.h"

struct user_settings {
  std::string path;  // the file; empty: none is read or written (--no-settings, no home folder)
  std::string data_dir;  // the game's data, which the file may never be written into
  std::vector<std::pair<std::string, std::string>> kept;  // p1_* / p2_* keys, in file order
};

// $XDG_CONFIG_HOME/veltmoore-brawl/settings.ini (or under ~/.config); empty when there is no home.
std::string default_settings_path();

// Reads `file.path` over `settings`. A missing file is a first run: nothing
// is printed. A file that can't be read gives one WARNING.
void read_user_settings(user_settings& file, game_settings& settings);

// The file's text for `settings`, the kept keys after the game's own.
std::string user_settings_text(const user_settings& file, const game_settings& settings);

// Writes the file whole in place of the old one (or not at all); a failure is
// a WARNING and the game goes on. False when nothing was written.
bool save_user_settings(const user_settings& file, const game_settings& settings);

// The run's settings file and the settings it holds, for what the player
// changes while playing (full screen) to be saved.
user_settings& run_user_settings();
game_settings& run_saved_settings();
// Replaces the file's binding keys with the tables in force, one key for each
// action that differs from its default ("p1_punch=j, joy0 button 0"), and
// saves the file.
void save_player_bindings(user_settings& file, const game_settings& settings);
// Records the window's full-screen state and saves the file when it changed.
void remember_fullscreen(bool fullscreen);

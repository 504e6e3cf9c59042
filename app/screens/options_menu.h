// The options a player changes from the main menu: the computer's level, the
// match length, the volumes and the window. Each change is applied at once
// and saved in the player's settings file (not while a replay plays: what a
// replay does is not the player's choice).
#pragma once
#include <string>

#include "app/settings.h"

struct title_screens;

// The rows of the options screen, top to bottom.
enum option_row {
  option_difficulty,
  option_rounds,
  option_round_time,
  option_effects_volume,
  option_music_volume,
  option_mute,
  option_scale,
  option_fullscreen,
  option_smooth,
  option_controls,  // opens the controls screen
  option_back,
  option_row_count,
};

const char* option_label(option_row row);
// The value as the screen shows it ("3", "On", "Off", "Endless", ...); empty for Back.
std::string option_value_text(option_row row, const game_settings& s);
// Moves the row's value one step (`delta` -1 or 1) within its range; a
// switch flips whatever the direction. False when the value is already at
// the end it was pushed towards (or the row has no value).
bool step_option(option_row row, int delta, game_settings& s);

// Puts the row's value of `s` in force now: the computer's level, the match
// rules of the next fight, the mixer's volumes, the window.
void apply_option(option_row row, const game_settings& s);
// Copies the row's value into the player's settings and saves the file.
void save_option(option_row row, const game_settings& s);

// The options screen over the titles' backdrop, until Back or Escape. `s` is
// the run's settings, changed in place.
void run_options_screen(title_screens& titles, game_settings& s);

// The main menu, shown after the titles when game.ini sets main_menu=1:
// Arcade (the select screen alone, then the ladder), Versus (the select
// screen, then a match), Training (the player's fighter, then the dummy, on
// the select screen), Online (host or join, see online_menu.h), Replays,
// Options, Quit. The arrow keys or either joystick
// move the cursor, Return, Space or button 0 choose; Escape (or button 1)
// goes back one level: from the options or the select screen to this menu,
// and here to Quit (a second Escape quits).
#pragma once
#include "app/screens/online_menu.h"
#include "app/screens/select_screen.h"
#include "app/settings.h"

struct title_screens;

enum main_menu_item {
  main_menu_arcade,
  main_menu_versus,
  main_menu_training,
  main_menu_online,
  main_menu_replays,
  main_menu_options,
  main_menu_quit,
};

struct main_menu_entry {
  main_menu_item item;
  const char* label;
};

// The menu's entries, top to bottom: adding an entry is a line here and its case in run_main_menu.
constexpr main_menu_entry main_menu_entries[] = {
    {main_menu_arcade, "Arcade"},
    {main_menu_versus, "Versus"},
    {main_menu_training, "Training"},
    {main_menu_online, "Online"},
    {main_menu_replays, "Replays"},
    {main_menu_options, "Options"},
    {main_menu_quit, "Quit"},
};
constexpr int main_menu_entry_count = sizeof main_menu_entries / sizeof main_menu_entries[0];

// Runs the menu until a fight is picked or the player quits. The backdrop has
// faded in and the select screen's pictures are loaded; on return, as after
// the select screen, the backdrop has faded out and the roster pictures are
// unloaded. `s` is the run's settings, which Options changes in place.
// Arcade returns the picked fighter with `arcade` set; Training the fighter
// and the dummy (second_player) with `training` set; Online sets `online` and
// fills `online_choice` (when given) with whom to host or join.
select_result run_main_menu(title_screens& titles, game_settings& s, online_target* online_choice = nullptr);

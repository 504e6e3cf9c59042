// The main menu, shown after the titles when game.ini sets main_menu=1:
// Versus (the select screen, then a match), Options, Quit. The arrow keys
// or either joystick move the cursor, Return, Space or button 0 choose;
// Escape (or button 1) goes back one level: from the options or the select
// screen to this menu, and here to Quit (a second Escape quits).
#pragma once
#include "app/screens/select_screen.h"
#include "app/settings.h"

struct title_screens;

enum main_menu_item { main_menu_versus, main_menu_options, main_menu_quit, main_menu_item_count };

const char* main_menu_label(main_menu_item item);

// Runs the menu until a fight is picked or the player quits. The backdrop has
// faded in and the select screen's pictures are loaded; on return, as after
// the select screen, the backdrop has faded out and the roster pictures are
// unloaded. `s` is the run's settings, which Options changes in place.
select_result run_main_menu(title_screens& titles, game_settings& s);

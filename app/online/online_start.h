// Online play from the command line: --host PORT waits for one opponent,
// --join HOST:PORT connects to one. A small screen says what it is waiting
// for; Escape or closing the window stops it at any moment. Once both sides
// have checked each other's build and data, each side picks (its own select
// screen, or --fighter N) and the fight runs through the rollback engine
// (online_fight.h).
#pragma once

struct run_options;

// The exit status: 0 when the player stopped it or the session ended
// normally, 1 when it failed (an ERROR line says why).
int run_online(const run_options& options);

struct game_settings;
struct title_screens;

// The same from the main menu's Online screen, in the run's open window:
// each side picks on its own select screen, and after a match the players
// choose Rematch, Character select or Quit. Returns when the session ends
// (the player left, the other side left, the connection was lost); the
// titles' pictures are then unloaded as after the select screen.
int run_online_from_menu(const run_options& options, const game_settings& settings, title_screens& titles);

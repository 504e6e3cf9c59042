// Putting two fighters on the stage: the paths and the controls are built
// before the select screen, the level and both fighters are loaded and
// placed after it, and the controls and paths are released at the end of
// the run.
#pragma once
#include <vector>

#include "anim/animation.h"

class control;
class control_map;
class path;

// Character files by roster position.
constexpr int roster_size = 4;
extern const char* const roster_char_files[roster_size];
constexpr const char* fight_level_file = "rsrc\\veltmoore\\stage_veltmoore.ini";

// The human's costume: five colours replaced in every picture its fighter
// loads, so a mirror match can be told apart; mapped in the screen's format.
std::vector<colour_swap> player_colour_swaps();
// Where entry `entry` (0 or 1) of lifeform_list starts on the loaded level:
// 200 pixels left (entry 0) or right (entry 1) of the level's centre.
int fight_start_x(int entry);

class fight_setup {
 public:
  path* human_path = nullptr;     // path 0: one step of mode 3
  path* computer_path = nullptr;  // path 1: one step of mode 6
  path* demo_path = nullptr;      // with --demo: mode 6 for the human's fighter too
  path* second_player_path = nullptr;  // a second human on entry 0: mode 3 on the second key set
  std::vector<control*> controls; // all eighteen, in building order
  control_map* maps[2] = {nullptr, nullptr};  // 0 the human's keys, 1 the computer's
  // The costume recolours the human's own picture copies only. Needed once
  // fighters can be loaded again (matches) or by a second player; off, the
  // first loader's colours stay in the cached pictures.
  bool costume_on_copies = false;

  // The human's and the computer's paths; `demo` adds a third.
  void build_paths(bool demo);
  // The eighteen controls and the two maps.
  void build_controls();
  // Level, both fighters into lifeform_list, placement, two log lines.
  // A roster position outside 0..3 falls back to 0 with a WARNING. A quit
  // request stops it between files, leaving the fight unplaced.
  // `second_player` >= 0: a second human plays entry 0 with that roster
  // position and the second key set; -1: the computer plays position 0.
  void start_fight(int roster_position, int second_player = -1);
  // Back from the select screen during a run: entry 1 becomes a fighter of
  // roster position `roster_position`, and entry 0 the second player's pick
  // (or the computer's position 0 again when the second player has gone),
  // loaded and placed as in start_fight. A fighter replaced is kept aside,
  // unused, until the program ends (pictures and moves it holds may still be
  // shared).
  void change_fighters(int roster_position, int second_player = -1);
  // End of the run: controls in reverse building order, then the paths.
  void release();

 private:
  // The second player's human path on the second key set, made once.
  void make_second_player_path();
};

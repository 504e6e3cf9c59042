// Putting two fighters on the stage: the paths and the controls are built
// before the select screen, the level and both fighters are loaded and
// placed after it, and the controls and paths are released at the end of
// the run.
#pragma once
#include <memory>
#include <vector>

#include "anim/animation.h"
#include "fight/round_reset.h"  // fight_start_x

class control;
class control_map;
class lifeform;
class path;

// Character files by roster position.
constexpr int roster_size = 4;
extern const char* const roster_char_files[roster_size];
constexpr const char* fight_level_file = "rsrc\\veltmoore\\stage_veltmoore.ini";

// The human's costume: five colours replaced in every picture its fighter
// loads, so a mirror match can be told apart; mapped in the screen's format.
std::vector<colour_swap> player_colour_swaps();

class fight_setup {
 public:
  std::unique_ptr<path> human_path;     // path 0: one step of mode 3
  std::unique_ptr<path> computer_path;  // path 1: one step of mode 6
  std::unique_ptr<path> demo_path;      // with --demo: mode 6 for the human's fighter too
  std::unique_ptr<path> second_player_path;  // a second human on entry 0: mode 3 on the second key set
  std::vector<std::unique_ptr<control>> controls;  // all eighteen, in building order
  std::unique_ptr<control_map> maps[2];  // 0 the human's keys, 1 the computer's; they only point at controls
  // The costume recolours the human's own picture copies only. Needed once
  // fighters can be loaded again (matches) or by a second player; off, the
  // first loader's colours stay in the cached pictures.
  bool costume_on_copies = false;
  // The roster position the computer plays (an arcade run changes it between fights).
  int computer_position = 0;

  fight_setup();
  fight_setup(const fight_setup&) = delete;
  fight_setup& operator=(const fight_setup&) = delete;
  // Frees the fighters it still owns, taking them and every projectile out
  // of lifeform_list first (the projectiles play the fighters' animations).
  ~fight_setup();

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
  // loaded and placed as in start_fight. The projectiles in flight leave
  // lifeform_list (the next round would clear them anyway), then a fighter
  // replaced is freed with everything it loaded.
  void change_fighters(int roster_position, int second_player = -1);
  // End of the run: controls in reverse building order, then the paths.
  // The fighters stay, steered by nothing.
  void release();
  // The fighters live until the program ends, as lifeform_list's entries 0
  // and 1: handed to keep_until_exit, so neither this object nor anything
  // else frees them.
  void keep_fighters_until_exit();

  // The fighter this set-up owns at lifeform_list entry `entry` (0 or 1); null when none.
  lifeform* fighter(int entry) const;

 private:
  // Entries 0 and 1 of lifeform_list, which only points at them.
  std::unique_ptr<lifeform> fighters_[2];
  int entry0_position_ = 0;  // roster position of the fighter at entry 0

  // The second player's human path on the second key set, made once.
  void make_second_player_path();
  // Puts `fresh` at entry `entry` of lifeform_list (appended when the list is
  // that long) and keeps it; returns the fighter it replaces, if ours.
  std::unique_ptr<lifeform> enlist_fighter(int entry, std::unique_ptr<lifeform> fresh);
};

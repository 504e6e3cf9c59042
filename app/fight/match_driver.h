// A match inside the fight loop: the rounds and their texts, the pause menu
// with the move list, and the result menu. The fight loop asks it each frame
// whether the world is frozen (texts on show, paused, decided) and lets it
// draw its overlay; it never reads who steers a fighter.
#pragma once
#include <string>
#include <vector>

#include "fight/match.h"
#include "app/fight/menu.h"

class match_driver {
 public:
  explicit match_driver(const match_rules& rules);
  ~match_driver();
  match_driver(const match_driver&) = delete;
  match_driver& operator=(const match_driver&) = delete;

  match_state state;
  bool paused = false;
  bool showing_moves = false;   // the pause menu's move list is up
  bool quit = false;            // Quit chosen, or Escape on the result menu
  bool back_to_select = false;  // Character select chosen

  // The fight does not move this frame: only drawn as it stands.
  bool frozen() const { return paused || state.phase != match_phase::fighting; }
  // Escape held ends the run as in a plain fight, except while a menu has it.
  bool escape_quits(bool escape_held);

  // After this frame's hits: pause input, the match's clock and rounds, the
  // menus. May place the fighters for a new round.
  void step();
  // The two fighters (a knocked-out one fallen) and live projectiles, still.
  void draw_frozen_world();
  // Gauges, names, marks, clock, the big words and any menu.
  void draw_overlay();

  // "Special move: down, right, i" lines for entry 1's combos.
  static std::vector<std::string> move_list_lines();

 private:
  menu pause_menu_;
  menu result_menu_;
  bool pause_held_ = false;     // the pause key or button was held last frame
  bool escape_latched_ = false;  // Escape left a menu: ignored until released
  bool laid_down_[2] = {false, false};  // entry k lost this round by a knock-out
  std::vector<std::string> moves_;

  void open_pause();
  void step_pause();
  void step_result();
  void rematch();
  void draw_centred_lines(const std::vector<std::string>& lines, int y);
};

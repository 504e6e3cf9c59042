// A match inside the fight loop: the rounds and their texts, the pause menu
// with the move list, and the result menu. The fight loop asks it each frame
// whether the world is frozen (texts on show, paused, decided) and lets it
// draw its overlay; it never reads who steers a fighter.
#pragma once
#include <string>
#include <vector>

#include "fight/match.h"
#include "app/fight/menu.h"

// One fight of an arcade run, as the run's ladder and the result menu share
// it: after a win the menu offers the next fight (or the finish after the
// last), after a loss or a draw Continue (the same opponent again) or Quit to menu.
struct arcade_fight {
  bool on = false;     // set by the ladder for its fights; off for every other match
  bool last = false;   // the last opponent of the ladder
  bool won = false;    // out: the player (entry 1) won the match and chose to go on
  int continues = 0;   // out: Continue chosen in this fight
};
arcade_fight& current_arcade_fight();

// How the run's last decided match ended, as a saved replay describes it:
// "Brela wins" or "Draw"; empty before any.
const std::string& last_match_result();

class match_driver {
 public:
  explicit match_driver(const match_rules& rules);
  ~match_driver();
  match_driver(const match_driver&) = delete;
  match_driver& operator=(const match_driver&) = delete;

  match_state state;
  bool paused = false;
  bool showing_moves = false;   // the pause menu's move list is up
  bool confirming_quit = false;  // the pause menu's "Quit the match?" is up
  bool quit = false;            // Quit chosen, or Escape on the result menu
  bool back_to_select = false;  // Character select chosen

  // What opened the pause menu (bits): keys both players share, or a
  // player's own joystick button 7.
  static constexpr int paused_by_p = 1;
  static constexpr int paused_by_escape = 2;
  static constexpr int paused_by_shared = paused_by_p | paused_by_escape;
  static constexpr int paused_by_first_joystick = 4;   // joystick 0: the first player (entry 1)
  static constexpr int paused_by_second_joystick = 8;  // joystick 1: a second player (entry 0)

  // The fight does not move this frame: only drawn as it stands.
  bool frozen() const { return paused || state.phase != match_phase::fighting; }

  // After this frame's hits: pause input, the match's clock and rounds, the
  // menus. May place the fighters for a new round.
  void step();
  // The same in its two halves around the rules (run_match_rules): the pause
  // keys and menu, true when the rules run this frame (not paused); then the
  // result menu, given the phase before the rules ran.
  bool take_pause_input();
  void after_rules(match_phase before);
  // The two fighters (a knocked-out one fallen) and live projectiles, still.
  void draw_frozen_world();
  // Gauges, names, marks, clock, the big words and any menu.
  void draw_overlay();

  // The move list of the pause menu opened by `paused_by`: alone against
  // the computer, entry 1's combos; in a two-player match the list of the
  // player who paused, or both under their players' names after a shared key.
  static std::vector<std::string> move_list_lines(int paused_by);

 private:
  menu pause_menu_;
  menu result_menu_;
  menu confirm_menu_;            // "Quit the match?": Yes, No
  int pause_held_ = 0;           // paused_by bits held last frame
  int paused_by_ = 0;            // what opened the pause menu
  std::vector<std::string> moves_;

  void open_pause(int paused_by);
  void step_pause(int pressed);
  void step_result();
  void rematch();
  void draw_centred_lines(const std::vector<std::string>& lines, int y);
};

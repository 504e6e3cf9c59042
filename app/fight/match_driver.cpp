#include "app/fight/match_driver.h"

#include <SDL.h>

#include <algorithm>

#include "app/fight/fight_text.h"
#include "app/fight/hud_box.h"
#include "app/fight/hud_scale.h"
#include "app/fight/match_hud.h"
#include "app/fight/match_round.h"
#include "app/fight/match_text.h"
#include "app/fight/object_update.h"
#include "app/input/frame_actions.h"
#include "app/video.h"
#include "core/seams.h"
#include "fighter/combo.h"
#include "fighter/lifeform.h"
#include "fighter/path.h"
#include "fight/match_frame.h"

namespace {

int screen_width() { return g_video.screen ? g_video.screen->w : 0; }
int screen_height() { return g_video.screen ? g_video.screen->h : 0; }

// What asks for the pause now, as match_driver's paused_by bits: Escape, or
// a player's pause input (p, or button 7 of their joystick, unless rebound).
// A key is on the keyboard both players share; a joystick input tells whose.
int pause_inputs_held() {
  const Uint8* keys = key_state();
  int held = 0;
  if (keys && keys[SDLK_ESCAPE]) held |= match_driver::paused_by_escape;
  for (int p = 0; p < 2; ++p) {
    bool by_key = false, by_joystick = false;
    read_pause_held(player_bindings(p), keys, g_video.joystick_ok == 1, by_key, by_joystick);
    if (by_key) held |= match_driver::paused_by_p;
    if (by_joystick) held |= p == 0 ? match_driver::paused_by_first_joystick : match_driver::paused_by_second_joystick;
  }
  return held;
}

// Key and button presses still queued from the fight are not the menu's.
void drop_queued_presses() {
  SDL_PumpEvents();
  SDL_Event dropped;
  const Uint32 presses = SDL_KEYDOWNMASK | SDL_KEYUPMASK | SDL_JOYBUTTONDOWNMASK | SDL_JOYBUTTONUPMASK;
  while (SDL_PeepEvents(&dropped, 1, SDL_GETEVENT, presses) == 1) {
  }
}

// The name under which entry `k` is announced; in a mirror match the side
// its gauge is on tells the two apart.
std::string announced_name(int k) {
  const lifeform* l = lifeform_at(k);
  const lifeform* other = lifeform_at(1 - k);
  std::string name = l && !l->name.empty() ? l->name : (k == 0 ? "Left" : "Right");
  if (other && l && other->name == l->name) name += k == 0 ? " (left)" : " (right)";
  return name;
}

// One step as the keys to press: "down+right", or "release up".
std::string step_keys(const combo_step& step) {
  std::string pressed, released;
  for (const key_pair& p : step.pairs) {
    std::string& into = p.state ? pressed : released;
    if (!into.empty()) into += "+";
    into += SDL_GetKeyName(static_cast<SDLKey>(p.key));
  }
  if (!pressed.empty()) return pressed;
  return released.empty() ? step.name : "release " + released;
}

}  // namespace

match_driver::match_driver(const match_rules& rules) : state(rules) {
  match_draws_gauges = true;
  combo_texts_named = true;
  state.start_match();
}

match_driver::~match_driver() {
  match_draws_gauges = false;
  combo_texts_named = false;
}

namespace {

// "Special move: down, right, i" lines for one fighter's combos, in the keys
// of the controls its combos were built with.
void add_combo_lines(const lifeform* l, std::vector<std::string>& lines) {
  if (!l || !l->combos || l->combos->empty()) {
    lines.push_back("No combos");
    return;
  }
  for (const combo& c : *l->combos) {
    std::string line = std::string(combo_move_name(c.combotype)) + ":";
    for (size_t i = 0; i < c.steps.size(); ++i) line += (i ? ", " : " ") + step_keys(c.steps[i]);
    lines.push_back(line);
  }
}

// A second player steers entry 0 with their own keys.
bool two_players() {
  const lifeform* l = lifeform_at(0);
  return l && l->path && l->path->steered_by_human(1);
}

}  // namespace

std::vector<std::string> match_driver::move_list_lines(int paused_by) {
  std::vector<std::string> lines;
  if (!two_players()) {
    add_combo_lines(lifeform_at(1), lines);
    return lines;
  }
  // The player whose own pause button was pressed sees their list; a key
  // both share shows both, each under its player's name.
  const bool first = (paused_by & paused_by_shared) || (paused_by & paused_by_first_joystick);
  const bool second = (paused_by & paused_by_shared) || (paused_by & paused_by_second_joystick);
  for (int k : {1, 0}) {
    if (!(k == 1 ? first : second)) continue;
    const lifeform* l = lifeform_at(k);
    lines.push_back(std::string(k == 1 ? "Player 1" : "Player 2") + (l && !l->name.empty() ? " (" + l->name + ")" : ""));
    add_combo_lines(l, lines);
  }
  return lines;
}

void match_driver::open_pause(int paused_by) {
  paused = true;
  showing_moves = false;
  confirming_quit = false;
  paused_by_ = paused_by;
  drop_queued_presses();
  pause_menu_.open({"Resume", "Move list", "Quit"}, read_menu_keys(), menu_lock_frames(state.rules.fps));
}

void match_driver::rematch() {
  state.start_match();
  reset_for_next_round();
  state.laid_down[0] = state.laid_down[1] = false;
}

void match_driver::step_pause(int pressed) {
  const menu_keys keys = read_menu_keys();
  // P or a pause button toggles; Escape is the menus' own "back".
  const bool toggle = (pressed & ~paused_by_escape) != 0;
  if (showing_moves || confirming_quit) {
    // The move list: any key of the menu, or the pause key, goes back to the
    // menu. "Quit the match?": Yes quits; No, Escape or the pause key go back.
    menu& shown = showing_moves ? pause_menu_ : confirm_menu_;
    const int choice = shown.apply(keys);
    if (confirming_quit && choice == 0) {
      quit = true;
    } else if (choice != menu_nothing || toggle) {
      showing_moves = confirming_quit = false;
    }
    return;
  }
  if (toggle) {
    paused = false;
    return;
  }
  const int choice = pause_menu_.apply(keys);
  if (choice == 0 || choice == menu_escaped) {
    paused = false;
  } else if (choice == 1) {
    showing_moves = true;
    moves_ = move_list_lines(paused_by_);
  } else if (choice == 2) {
    confirming_quit = true;
    confirm_menu_.open({"Yes", "No"}, keys);
    confirm_menu_.selected = 1;
  }
}

namespace {
std::string last_result;
}  // namespace

const std::string& last_match_result() { return last_result; }

arcade_fight& current_arcade_fight() {
  static arcade_fight fight;
  return fight;
}

void match_driver::step_result() {
  arcade_fight& arcade = current_arcade_fight();
  if (arcade.on) {
    const int choice = result_menu_.apply(read_menu_keys());
    const bool won = state.match_winner == 1;
    if (won && choice == 0) {
      arcade.won = true;
      quit = true;
    } else if (!won && choice == 0) {
      ++arcade.continues;
      rematch();
    } else if (choice == 1 || choice == menu_escaped) {
      quit = true;
    }
    return;
  }
  if (state.rules.auto_continue) {
    if (state.phase_frames >= round_over_seconds * state.rules.fps) rematch();
    return;
  }
  const int choice = result_menu_.apply(read_menu_keys());
  if (choice == 0) {
    rematch();
  } else if (choice == 1) {
    back_to_select = true;
  } else if (choice == 2 || choice == menu_escaped) {
    quit = true;
  }
}

void match_driver::step() {
  if (!take_pause_input()) return;
  const match_phase before = state.phase;
  run_match_rules(state);
  after_rules(before);
}

bool match_driver::take_pause_input() {
  const int pause_now = pause_inputs_held();
  const int pressed = pause_now & ~pause_held_;
  pause_held_ = pause_now;
  if (paused) {
    step_pause(pressed);
  } else if (pressed && (state.phase == match_phase::intro || state.phase == match_phase::fighting)) {
    open_pause(pressed);
  }
  return !paused;
}

void match_driver::after_rules(match_phase before) {
  if (before != match_phase::result && state.phase == match_phase::result) {
    drop_queued_presses();
    last_result = state.match_drawn || state.match_winner < 0 ? "Draw" : announced_name(state.match_winner) + " wins";
    const arcade_fight& arcade = current_arcade_fight();
    if (arcade.on && state.match_winner == 1) {
      result_menu_.open({arcade.last ? "Finish" : "Next fight"}, read_menu_keys(), menu_lock_frames(state.rules.fps));
    } else if (arcade.on) {
      result_menu_.open({"Continue", "Quit to menu"}, read_menu_keys(), menu_lock_frames(state.rules.fps));
    } else {
      result_menu_.open({"Rematch", "Character select", state.rules.main_menu ? "Main menu" : "Quit"},
                        read_menu_keys(), menu_lock_frames(state.rules.fps));
    }
  } else if (state.phase == match_phase::result) {
    step_result();
  }
}

void match_driver::draw_frozen_world() {
  for (size_t k = 0; k < lifeform_list.size(); ++k) {
    lifeform* l = lifeform_list[k];
    // A fighter knocked out stays on show, lying where it has a picture for
    // that; a spent projectile does not.
    if (k < 2 && l && state.laid_down[k] && draw_lying(*l)) continue;
    if (l && (k < 2 || l->alive())) l->draw();
  }
}

void match_driver::draw_centred_lines(const std::vector<std::string>& lines, int y) {
  int widest = 0, line = 0;
  for (const std::string& s : lines) {
    int w = 0, h = 0;
    fight_text_size(s.c_str(), w, h);
    widest = std::max(widest, w);
    line = std::max(line, h);
  }
  const int pad = hud_px(10);
  fill_hud_box((screen_width() - widest) / 2 - pad, y - pad, widest + 2 * pad,
               line * static_cast<int>(lines.size()) + 2 * pad, 0, 0, 0, 176);
  for (size_t i = 0; i < lines.size(); ++i) draw_fight_text_centred(y + static_cast<int>(i) * line, lines[i].c_str());
}

void match_driver::draw_overlay() {
  draw_match_hud(state);
  const int big_y = screen_height() / 3 - big_text_height() / 2;
  const int below = big_y + big_text_height() + hud_px(8);
  if (paused) {
    draw_big_text_centred(big_y, "Paused");
    if (showing_moves) {
      std::vector<std::string> lines = moves_;
      lines.push_back("RETURN: back");
      draw_centred_lines(lines, below);
    } else if (confirming_quit) {
      draw_centred_lines({"Quit the match?"}, below);
      confirm_menu_.draw(below + big_text_height());
    } else {
      pause_menu_.draw(below);
    }
    return;
  }
  switch (state.phase) {
    case match_phase::intro: {
      const std::string round = "Round " + std::to_string(state.round);
      const bool first_half = state.phase_frames < intro_seconds * state.rules.fps / 2;
      draw_big_text_centred(big_y, first_half ? round.c_str() : "Fight!");
      break;
    }
    case match_phase::fighting:
      break;
    case match_phase::round_over: {
      draw_big_text_centred(big_y, state.by_time ? "Time" : "K.O.");
      const std::string who = state.round_winner >= 0 ? announced_name(state.round_winner) + " wins" : "Draw";
      draw_fight_text_centred(below, who.c_str());
      break;
    }
    case match_phase::result: {
      const std::string who = state.match_drawn ? "Draw game" : announced_name(state.match_winner) + " wins the match";
      draw_big_text_centred(big_y, who.c_str());
      if (!state.rules.auto_continue) result_menu_.draw(below);
      break;
    }
  }
}

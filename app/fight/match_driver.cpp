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
#include "app/video.h"
#include "core/seams.h"
#include "fighter/lifeform.h"

namespace {

constexpr int pause_joy_button = 7;

int screen_width() { return g_video.screen ? g_video.screen->w : 0; }
int screen_height() { return g_video.screen ? g_video.screen->h : 0; }

bool pause_key_held() {
  const Uint8* keys = key_state();
  const bool key = keys && keys[SDLK_p];
  return key || (g_video.joystick_ok == 1 && joy_button(pause_joy_button) != 0);
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

const char* combo_title(int combotype) {
  switch (combotype) {
    case 1:
      return "High jump";
    case 2:
      return "Special move";
    case 3:
      return "Dash";
    default:
      return "Combo";
  }
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
  state.start_match();
}

match_driver::~match_driver() { match_draws_gauges = false; }

std::vector<std::string> match_driver::move_list_lines() {
  std::vector<std::string> lines;
  const lifeform* l = lifeform_at(1);
  if (!l || !l->combos || l->combos->empty()) {
    lines.push_back("No combos");
    return lines;
  }
  for (const combo& c : *l->combos) {
    std::string line = std::string(combo_title(c.combotype)) + ":";
    for (size_t i = 0; i < c.steps.size(); ++i) line += (i ? ", " : " ") + step_keys(c.steps[i]);
    lines.push_back(line);
  }
  return lines;
}

bool match_driver::escape_quits(bool escape_held) {
  if (!escape_held) escape_latched_ = false;
  const bool in_menu = paused || state.phase == match_phase::result;
  return escape_held && !escape_latched_ && !in_menu;
}

void match_driver::open_pause() {
  paused = true;
  showing_moves = false;
  pause_menu_.open({"Resume", "Move list", "Quit"}, read_menu_keys());
}

void match_driver::rematch() {
  state.start_match();
  reset_for_next_round();
  laid_down_[0] = laid_down_[1] = false;
}

void match_driver::step_pause() {
  const menu_keys keys = read_menu_keys();
  const bool pause_pressed = pause_key_held() && !pause_held_;
  if (showing_moves) {
    // Any key of the menu, or the pause key, goes back to the menu.
    const int choice = pause_menu_.apply(keys);
    if (choice != menu_nothing || pause_pressed) {
      showing_moves = false;
      if (choice == menu_escaped) escape_latched_ = true;
    }
    return;
  }
  if (pause_pressed) {
    paused = false;
    return;
  }
  const int choice = pause_menu_.apply(keys);
  if (choice == 0 || choice == menu_escaped) {
    paused = false;
    if (choice == menu_escaped) escape_latched_ = true;
  } else if (choice == 1) {
    showing_moves = true;
    moves_ = move_list_lines();
  } else if (choice == 2) {
    quit = true;
  }
}

void match_driver::step_result() {
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
  const bool pause_now = pause_key_held();
  if (paused) {
    step_pause();
  } else if (pause_now && !pause_held_ &&
             (state.phase == match_phase::intro || state.phase == match_phase::fighting)) {
    open_pause();
  }
  pause_held_ = pause_now;
  if (paused) return;

  fighter_health health[2] = {{0, 1}, {0, 1}};
  for (int k = 0; k < 2; ++k) {
    if (const lifeform* l = lifeform_at(k)) health[k] = {l->hp, l->max_hp};
  }
  const match_phase before = state.phase;
  if (state.advance(health)) {
    reset_for_next_round();
    laid_down_[0] = laid_down_[1] = false;
  }
  if (before == match_phase::fighting && state.phase == match_phase::round_over && !state.by_time) {
    for (int k = 0; k < 2; ++k) {
      lifeform* l = lifeform_at(k);
      if (l && !l->alive()) {
        lay_down(*l);
        laid_down_[k] = true;
      }
    }
  }
  if (before != match_phase::result && state.phase == match_phase::result) {
    result_menu_.open({"Rematch", "Character select", "Quit"}, read_menu_keys());
  } else if (state.phase == match_phase::result) {
    step_result();
  }
}

void match_driver::draw_frozen_world() {
  for (size_t k = 0; k < lifeform_list.size(); ++k) {
    lifeform* l = lifeform_list[k];
    // A fighter knocked out stays on show, lying where it has a picture for
    // that; a spent projectile does not.
    if (k < 2 && l && laid_down_[k] && draw_lying(*l)) continue;
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
      const std::string who = announced_name(state.match_winner) + " wins the match";
      draw_big_text_centred(big_y, who.c_str());
      if (!state.rules.auto_continue) result_menu_.draw(below);
      break;
    }
  }
}

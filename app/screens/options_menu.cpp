#include "app/screens/options_menu.h"

#include <SDL.h>

#include "app/fight/menu.h"
#include "app/frame_limiter.h"
#include "app/replay/replay_session.h"
#include "app/screens/controls_menu.h"
#include "app/screens/menu_panel.h"
#include "app/screens/title_screens.h"
#include "app/sound_volumes.h"
#include "app/user_settings.h"
#include "app/video.h"
#include "core/quit_request.h"
#include "fight/match.h"
#include "fighter/computer_difficulty.h"

namespace {

// Round clocks offered, in seconds (0: no clock). A value set by hand in a
// file between two of them steps to the next one.
const int round_times[] = {0, 30, 45, 60, 90, 99, 120, 180, 300, 600, 999};

int stepped(int value, int delta, int lo, int hi) {
  const int next = value + delta;
  return next < lo ? lo : (next > hi ? hi : next);
}

int stepped_round_time(int value, int delta) {
  const int n = static_cast<int>(sizeof round_times / sizeof round_times[0]);
  if (delta > 0) {
    for (int i = 0; i < n; ++i) {
      if (round_times[i] > value) return round_times[i];
    }
    return value;
  }
  for (int i = n - 1; i >= 0; --i) {
    if (round_times[i] < value) return round_times[i];
  }
  return value;
}

bool fullscreen_set(const game_settings& s) { return (s.flags & SDL_FULLSCREEN) != 0; }

const char* on_off(bool on) { return on ? "On" : "Off"; }

}  // namespace

const char* option_label(option_row row) {
  switch (row) {
    case option_difficulty: return "Difficulty";
    case option_rounds: return "Rounds to win";
    case option_round_time: return "Round time";
    case option_effects_volume: return "Effects volume";
    case option_music_volume: return "Music volume";
    case option_mute: return "Mute";
    case option_scale: return "Window scale";
    case option_fullscreen: return "Full screen";
    case option_smooth: return "Smooth scaling";
    case option_controls: return "Controls";
    default: return "Back";
  }
}

std::string option_value_text(option_row row, const game_settings& s) {
  switch (row) {
    case option_difficulty: return s.difficulty == 0 ? "Classic" : std::to_string(s.difficulty);
    case option_rounds: return s.rounds == 0 ? "Endless" : std::to_string(s.rounds);
    case option_round_time: return s.round_time == 0 ? "No clock" : std::to_string(s.round_time) + " s";
    case option_effects_volume: return std::to_string(s.effects_volume);
    case option_music_volume: return std::to_string(s.music_volume);
    case option_mute: return on_off(s.mute);
    case option_scale: return std::to_string(s.scale) + "x";
    case option_fullscreen: return on_off(fullscreen_set(s));
    case option_smooth: return on_off(s.smooth);
    default: return "";
  }
}

bool step_option(option_row row, int delta, game_settings& s) {
  int* value = nullptr;
  int lo = 0, hi = 0;
  switch (row) {
    case option_difficulty: value = &s.difficulty; hi = 5; break;
    case option_rounds: value = &s.rounds; hi = 9; break;
    case option_effects_volume: value = &s.effects_volume; hi = 10; break;
    case option_music_volume: value = &s.music_volume; hi = 10; break;
    case option_scale: value = &s.scale; lo = 1; hi = 8; break;
    case option_round_time: {
      const int before = s.round_time;
      s.round_time = stepped_round_time(before, delta);
      return s.round_time != before;
    }
    case option_mute: s.mute = !s.mute; return true;
    case option_smooth: s.smooth = !s.smooth; return true;
    case option_fullscreen: s.flags ^= SDL_FULLSCREEN; return true;
    default: return false;
  }
  const int before = *value;
  *value = stepped(before, delta, lo, hi);
  return *value != before;
}

void apply_option(option_row row, const game_settings& s) {
  switch (row) {
    case option_difficulty: set_computer_difficulty(s.difficulty); break;
    case option_rounds:
    case option_round_time: {
      match_rules rules = current_match_rules();
      rules.rounds = s.rounds;
      rules.round_time = s.round_time;
      set_match_rules(rules);
      break;
    }
    case option_effects_volume:
    case option_music_volume:
    case option_mute:
      if (g_video.audio_ok) set_sound_volumes(s.effects_volume, s.music_volume, s.mute);
      break;
    case option_scale:
      g_video.scale = s.scale;
      if (g_video.screen && !g_video.fullscreen()) g_video.request_window_size(g_video.screen->w * s.scale, g_video.screen->h * s.scale);
      break;
    case option_fullscreen:
      // Done after the next present; the switch saves itself (remember_fullscreen).
      if (fullscreen_set(s) != g_video.fullscreen()) g_video.request_fullscreen_toggle();
      break;
    case option_smooth: g_video.smooth = s.smooth; break;
    default: break;
  }
}

void save_option(option_row row, const game_settings& s) {
  if (replaying()) return;
  game_settings& saved = run_saved_settings();
  switch (row) {
    case option_difficulty: saved.difficulty = s.difficulty; break;
    case option_rounds: saved.rounds = s.rounds; break;
    case option_round_time: saved.round_time = s.round_time; break;
    case option_effects_volume: saved.effects_volume = s.effects_volume; break;
    case option_music_volume: saved.music_volume = s.music_volume; break;
    case option_mute: saved.mute = s.mute; break;
    case option_scale: saved.scale = s.scale; break;
    case option_smooth: saved.smooth = s.smooth; break;
    default: return;  // full screen is saved once the window has switched
  }
  save_user_settings(run_user_settings(), saved);
}

void run_options_screen(title_screens& titles, game_settings& s) {
  menu rows;
  std::vector<std::string> labels;
  for (int r = 0; r < option_row_count; ++r) labels.push_back(option_label(static_cast<option_row>(r)));
  rows.open(labels, read_menu_keys(true));
  titles.backdrop.set_alpha(255);
  while (!poll_quit_request()) {
    std::vector<menu_panel_row> shown;
    for (int r = 0; r < option_row_count; ++r) {
      shown.push_back({labels[r], option_value_text(static_cast<option_row>(r), s)});
    }
    g_video.clear_screen();
    titles.draw_backdrop();
    draw_menu_panel("Options", shown, rows.selected);
    g_video.present();
    limiter().delay();

    const int choice = rows.apply(read_menu_keys(true));
    if (choice == menu_escaped || choice == option_back) return;
    if (choice == option_controls) {
      run_controls_screen(titles, run_saved_settings());
      rows.open(labels, read_menu_keys(true));  // the key that left the controls does nothing here
      rows.selected = option_controls;
      continue;
    }
    const option_row row = static_cast<option_row>(rows.selected);
    // Left and right step a value; Return steps it up, round to the lowest
    // after the highest (a switch flips).
    bool changed = false;
    if (choice >= 0) {
      changed = step_option(row, 1, s);
      while (!changed && step_option(row, -1, s)) changed = true;
    } else if (rows.sideways() != 0) {
      changed = step_option(row, rows.sideways(), s);
    }
    if (changed) {
      apply_option(row, s);
      save_option(row, s);
    }
  }
}

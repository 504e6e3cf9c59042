#include "app/screens/controls_menu.h"

#include <string>
#include <vector>

#include "app/fight/menu.h"
#include "app/frame_limiter.h"
#include "app/input/frame_actions.h"
#include "app/replay/replay_session.h"
#include "app/screens/menu_panel.h"
#include "app/screens/title_screens.h"
#include "app/user_settings.h"
#include "app/video.h"
#include "core/quit_request.h"
#include "core/seams.h"

namespace {

constexpr int stick_buttons = 16;
constexpr int stick_axes = 8;
constexpr int axis_pushed = 17000;  // as far as the menus take a push

enum controls_row { row_player, row_first_slot, row_reset = row_first_slot + binding_slot_count, row_back, row_count };

const char* const slot_labels[binding_slot_count] = {"Up",   "Down", "Left",    "Right", "Punch",
                                                     "Kick", "Extra 1", "Extra 2", "Pause"};

std::vector<menu_panel_row> shown_rows(int player, int waiting_slot) {
  std::vector<menu_panel_row> rows;
  rows.push_back({"Player", std::to_string(player + 1)});
  for (int slot = 0; slot < binding_slot_count; ++slot) {
    const std::string value = slot == waiting_slot ? "press a key or button" : slot_inputs_text(player_bindings(player), slot);
    rows.push_back({slot_labels[slot], value});
  }
  rows.push_back({"Reset to defaults", ""});
  rows.push_back({"Back", ""});
  return rows;
}

std::vector<std::string> row_labels() {
  std::vector<std::string> labels;
  for (const menu_panel_row& r : shown_rows(0, -1)) labels.push_back(r.label);
  return labels;
}

void save_bindings(const game_settings& s) {
  if (replaying()) return;  // what a replay does is not the player's choice
  save_player_bindings(run_user_settings(), s);
}

}  // namespace

bool pressed_input_watch::take(const Uint8* keys, bool joysticks_open, input_binding& input) {
  bool found = false;
  for (int k = 1; k < SDLK_LAST; ++k) {
    const bool held = keys && keys[k] != 0;
    if (held && !keys_before[k] && !found && k != SDLK_ESCAPE) {
      input.kind = input_binding::device::key;
      input.index = k;
      found = true;
    }
    keys_before[k] = held;
  }
  for (int stick = 0; stick < 2; ++stick) {
    for (int b = 0; b < stick_buttons; ++b) {
      const bool held = joysticks_open && joy_button_of(stick, b) != 0;
      if (held && !sticks_before[stick][b] && !found) {
        input = input_binding();
        input.kind = input_binding::device::joy_button;
        input.stick = stick;
        input.index = b;
        found = true;
      }
      sticks_before[stick][b] = held;
    }
    for (int a = 0; a < stick_axes; ++a) {
      const int value = joysticks_open ? joy_axis_of(stick, a) : 0;
      for (int side = 0; side < 2; ++side) {
        const int sign = side == 0 ? -1 : 1;
        const bool held = value * sign > axis_pushed;
        bool& before = sticks_before[stick][stick_buttons + 2 * a + side];
        if (held && !before && !found) {
          input = input_binding();
          input.kind = input_binding::device::joy_axis;
          input.stick = stick;
          input.index = a;
          input.sign = sign;
          found = true;
        }
        before = held;
      }
    }
  }
  return found;
}

void run_controls_screen(title_screens& titles, const game_settings& s) {
  const std::vector<std::string> labels = row_labels();
  menu rows;
  rows.open(labels, read_menu_keys(true));
  rows.selected = row_first_slot;
  int player = 0;
  int waiting_slot = -1;  // the action waiting for an input, -1 when none
  pressed_input_watch watch;
  titles.backdrop.set_alpha(255);
  while (!poll_quit_request()) {
    g_video.clear_screen();
    titles.draw_backdrop();
    draw_menu_panel("Controls", shown_rows(player, waiting_slot), rows.selected);
    g_video.present();
    limiter().delay();

    const bool sticks = g_video.joystick_ok == 1;
    if (waiting_slot >= 0) {
      const Uint8* keys = key_state();
      input_binding pressed;
      const bool escaped = keys && keys[SDLK_ESCAPE] && !watch.keys_before[SDLK_ESCAPE];
      const bool got = watch.take(keys, sticks, pressed);
      if (escaped || got) {
        if (got && !escaped) {
          bind_player_input(player, waiting_slot, pressed);
          save_bindings(s);
        }
        waiting_slot = -1;
        const int at = rows.selected;
        rows.open(labels, read_menu_keys(true));  // the key just pressed does nothing in the menu
        rows.selected = at;
      }
      continue;
    }

    const int choice = rows.apply(read_menu_keys(true));
    if (choice == menu_escaped || choice == row_back) return;
    if ((choice == row_player) || (rows.selected == row_player && rows.sideways() != 0)) {
      player = 1 - player;
    } else if (choice == row_reset) {
      reset_player_bindings(player);
      save_bindings(s);
    } else if (choice >= row_first_slot && choice < row_reset) {
      waiting_slot = choice - row_first_slot;
      watch = pressed_input_watch();
      input_binding ignored;
      watch.take(key_state(), sticks, ignored);  // what is held now (the Return that chose) is no press
    }
  }
}

#include "app/screens/main_menu.h"

#include <string>
#include <vector>

#include "app/fight/menu.h"
#include "app/frame_limiter.h"
#include "app/screens/menu_panel.h"
#include "app/screens/options_menu.h"
#include "app/screens/replays_menu.h"
#include "app/screens/title_screens.h"
#include "app/user_settings.h"
#include "app/video.h"
#include "core/quit_request.h"

namespace {

int quit_row() {
  for (int i = 0; i < main_menu_entry_count; ++i) {
    if (main_menu_entries[i].item == main_menu_quit) return i;
  }
  return main_menu_entry_count - 1;
}

bool any_held(const menu_keys& k) {
  for (bool held : k.held) {
    if (held) return true;
  }
  return false;
}

}  // namespace

select_result run_main_menu(title_screens& titles, game_settings& s, online_target* online_choice) {
  static online_menu_state online_typed;  // what was typed there stays for the next visit
  std::vector<std::string> labels;
  for (const main_menu_entry& e : main_menu_entries) labels.push_back(e.label);
  std::vector<menu_panel_row> rows;
  for (const std::string& label : labels) rows.push_back({label, ""});
  menu items;
  items.open(labels, read_menu_keys(true));
  titles.backdrop.set_alpha(255);
  limiter().set_rate(titles.fps);
  while (!poll_quit_request()) {
    g_video.clear_screen();
    titles.draw_backdrop();
    draw_menu_panel("Veltmoore Brawl", rows, items.selected);
    g_video.present();
    limiter().delay();

    const int row = items.apply(read_menu_keys(true));
    if (row == menu_escaped && items.selected != quit_row()) {
      items.selected = quit_row();
      continue;
    }
    if (row == menu_nothing) continue;
    const main_menu_item choice = row == menu_escaped ? main_menu_quit : main_menu_entries[row].item;
    if (choice == main_menu_quit) break;
    // The select screen takes a key held as it opens for a press: it opens
    // once the key that chose is let go (at most two seconds on).
    const bool to_select = choice == main_menu_versus || choice == main_menu_arcade || choice == main_menu_training;
    for (int wait = 0; to_select && wait < 2 * titles.fps && any_held(read_menu_keys(true)); ++wait) {
      if (poll_quit_request()) break;
      g_video.clear_screen();
      titles.draw_backdrop();
      draw_menu_panel("Veltmoore Brawl", rows, items.selected);
      g_video.present();
      limiter().delay();
    }
    if (choice == main_menu_replays) {
      run_replays_screen(titles, replays_folder());
      items.open(labels, read_menu_keys(true));
      items.selected = row;
    } else if (choice == main_menu_online) {
      online_target target;
      if (online_typed.address.empty()) online_typed.address = s.online_address;
      if (run_online_screen(titles, online_typed, target) && online_choice) {
        if (target.join_port > 0 && online_typed.address != s.online_address) {
          // The address joined is offered again next time, in this run and the next.
          s.online_address = run_saved_settings().online_address = online_typed.address;
          save_user_settings(run_user_settings(), run_saved_settings());
        }
        *online_choice = target;
        leave_select_screen(titles, !quit_requested());
        select_result picked = {0, 0};
        picked.online = true;
        return picked;
      }
      items.open(labels, read_menu_keys(true));  // the Escape that left does nothing here
      items.selected = row;
    } else if (choice == main_menu_options) {
      run_options_screen(titles, s);
      items.open(labels, read_menu_keys(true));  // the key that left the options does nothing here
      items.selected = row;
    } else if (to_select) {
      titles.use_backdrop(false);
      const bool solo = choice != main_menu_versus;
      select_result picked = run_select_screen(titles, titles.fps, solo);
      picked.arcade = choice == main_menu_arcade;
      if (choice == main_menu_training && !picked.quit && !quit_requested()) {
        // The dummy is picked on the same screen, once more.
        titles.load_select_images();
        titles.backdrop_fade_in();
        const select_result dummy = run_select_screen(titles, titles.fps, true, "Choose the dummy");
        picked.quit = dummy.quit;
        picked.second_player = dummy.selection;
        picked.training = true;
      }
      if (!picked.quit || quit_requested()) return picked;
      // Escape on the select screen: back here, its pictures again.
      limiter().set_rate(titles.fps);
      titles.load_select_images();
      titles.use_backdrop(true);
      if (!quit_requested()) titles.backdrop_fade_in();
      titles.backdrop.set_alpha(255);
      items.open(labels, read_menu_keys(true));
      items.selected = row;
    }
  }
  leave_select_screen(titles, !quit_requested());
  return {0, 1};
}

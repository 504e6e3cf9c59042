#include "app/screens/main_menu.h"

#include <string>
#include <vector>

#include "app/fight/menu.h"
#include "app/frame_limiter.h"
#include "app/screens/menu_panel.h"
#include "app/screens/options_menu.h"
#include "app/screens/title_screens.h"
#include "app/video.h"
#include "core/quit_request.h"

const char* main_menu_label(main_menu_item item) {
  switch (item) {
    case main_menu_versus: return "Versus";
    case main_menu_options: return "Options";
    default: return "Quit";
  }
}

namespace {

bool any_held(const menu_keys& k) {
  for (bool held : k.held) {
    if (held) return true;
  }
  return false;
}

}  // namespace

select_result run_main_menu(title_screens& titles, game_settings& s) {
  std::vector<std::string> labels;
  for (int i = 0; i < main_menu_item_count; ++i) labels.push_back(main_menu_label(static_cast<main_menu_item>(i)));
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

    int choice = items.apply(read_menu_keys(true));
    if (choice == menu_escaped) {
      if (items.selected != main_menu_quit) {
        items.selected = main_menu_quit;
        continue;
      }
      choice = main_menu_quit;
    }
    if (choice == main_menu_quit) break;
    // The select screen takes a key held as it opens for a press: it opens
    // once the key that chose is let go (at most two seconds on).
    for (int wait = 0; choice == main_menu_versus && wait < 2 * titles.fps && any_held(read_menu_keys(true)); ++wait) {
      if (poll_quit_request()) break;
      g_video.clear_screen();
      titles.draw_backdrop();
      draw_menu_panel("Veltmoore Brawl", rows, items.selected);
      g_video.present();
      limiter().delay();
    }
    if (choice == main_menu_options) {
      run_options_screen(titles, s);
      items.open(labels, read_menu_keys(true));  // the key that left the options does nothing here
      items.selected = main_menu_options;
    } else if (choice == main_menu_versus) {
      const select_result picked = run_select_screen(titles, titles.fps);
      if (!picked.quit || quit_requested()) return picked;
      // Escape on the select screen: back here, its pictures again.
      limiter().set_rate(titles.fps);
      titles.load_select_images();
      if (!quit_requested()) titles.backdrop_fade_in();
      titles.backdrop.set_alpha(255);
      items.open(labels, read_menu_keys(true));
    }
  }
  leave_select_screen(titles, !quit_requested());
  return {0, 1};
}

#include "app/screens/replays_menu.h"

#include <SDL.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "app/fight/menu.h"
#include "app/frame_limiter.h"
#include "app/screens/title_screens.h"
#include "app/video.h"
#include "core/log.h"
#include "core/quit_request.h"
#include "core/seams.h"

namespace {

constexpr int rows_shown = 9;  // replays on the panel at once; the list scrolls under the cursor

// Plays `path` in a game of its own, this one waiting (and still answering a
// quit request, which ends both).
void play_replay(const std::string& path) {
  char cwd[4096];
  const std::string data = getcwd(cwd, sizeof cwd) ? cwd : ".";
  const bool opengl = (g_video.flags & SDL_OPENGL) != 0;
  log_out("NOTICE: playing the replay %s\n", path.c_str());
  std::fflush(stdout);
  const pid_t child = fork();
  if (child < 0) {
    log_out("WARNING: can't play the replay %s: no process for it\n", path.c_str());
    return;
  }
  if (child == 0) {
    execl("/proc/self/exe", "fight", "--data-dir", data.c_str(), "--replay", path.c_str(), "--no-settings",
          opengl ? "--opengl" : "--software", static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (poll_quit_request()) {
      kill(child, SIGTERM);
      waitpid(child, &status, 0);
      break;
    }
    SDL_Delay(20);
  }
}

std::vector<menu_panel_row> shown_rows(const std::vector<replay_entry>& list, int selected, int& first) {
  std::vector<menu_panel_row> rows;
  const int n = static_cast<int>(list.size());
  first = std::max(0, std::min(selected - rows_shown / 2, n - rows_shown));
  if (n == 0) rows.push_back({"No replays yet: F9 during a fight saves one", "", true});
  for (int i = first; i < std::min(n, first + rows_shown); ++i) rows.push_back(replay_row(list[i]));
  rows.push_back({"Back", ""});
  return rows;
}

bool delete_pressed(bool& held_before) {
  const Uint8* keys = key_state();
  const bool held = keys && keys[SDLK_DELETE] != 0;
  const bool pressed = held && !held_before;
  held_before = held;
  return pressed;
}

}  // namespace

menu_panel_row replay_row(const replay_entry& e) {
  menu_panel_row row;
  std::string date = replay_date_text(e.saved);
  if (date.size() > 5) date = date.substr(5);  // month and day are enough on the list
  row.label = date + "  " + (e.fighters.empty() ? "?" : e.fighters);
  if (e.playable) {
    row.value = (e.result.empty() ? "no result" : e.result) + "  " + replay_length_text(e.frames, e.fps);
  } else {
    row.value = e.reason;
    row.greyed = true;
  }
  return row;
}

void run_replays_screen(title_screens& titles, const std::string& folder) {
  std::vector<replay_entry> list = list_replays(folder);
  std::vector<std::string> labels(list.size() + 1, "");
  menu rows;
  rows.open(labels, read_menu_keys(true));
  menu confirm;
  bool confirming = false;
  bool delete_held = true;  // a Delete held as the screen opens is no press
  delete_pressed(delete_held);
  titles.backdrop.set_alpha(255);
  while (!poll_quit_request()) {
    const int n = static_cast<int>(list.size());
    int first = 0;
    std::vector<menu_panel_row> shown = shown_rows(list, rows.selected, first);
    const int shown_selected = rows.selected == n ? static_cast<int>(shown.size()) - 1 : rows.selected - first;
    const std::string heading = n == 0 ? "Replays" : "Replays (" + std::to_string(n) + ")";
    g_video.clear_screen();
    titles.draw_backdrop();
    if (confirming) {
      draw_menu_panel("Delete this replay?", {replay_row(list[rows.selected]), {"Yes", ""}, {"No", ""}},
                      confirm.selected + 1);
    } else {
      draw_menu_panel(heading.c_str(), shown, shown_selected);
    }
    g_video.present();
    limiter().delay();

    if (confirming) {
      const int choice = confirm.apply(read_menu_keys(true));
      if (choice == menu_nothing) continue;
      const int at = rows.selected;
      if (choice == 0) {
        const replay_entry gone = list[at];
        if (std::remove(gone.path.c_str()) == 0) {
          log_out("NOTICE: replay %s deleted\n", gone.path.c_str());
        } else {
          log_out("WARNING: can't delete the replay %s\n", gone.path.c_str());
        }
        list = list_replays(folder);
        labels.assign(list.size() + 1, "");
      }
      confirming = false;
      rows.open(labels, read_menu_keys(true));
      rows.selected = std::min(at, static_cast<int>(list.size()));
      continue;
    }
    const int at = rows.selected;
    const int choice = rows.apply(read_menu_keys(true));
    if (choice == menu_escaped || choice == n) return;
    if (delete_pressed(delete_held) && rows.selected < n) {
      confirming = true;
      confirm.open({"Yes", "No"}, read_menu_keys(true));
      confirm.selected = 1;
      continue;
    }
    if (choice >= 0 && choice < n && list[choice].playable) {
      play_replay(list[choice].path);
      rows.open(labels, read_menu_keys(true));
      rows.selected = at;
    }
  }
}

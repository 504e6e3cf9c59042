// Entry point: options, the data directory, then the one run of the game.
#include <SDL.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "app/check/data_check.h"
#include "app/data_location.h"
#include "app/game.h"
#include "app/online/online_replay_play.h"
#include "app/online/online_start.h"
#include "app/option_list.h"
#include "app/run_options.h"
#include "app/viewer/viewer.h"
#include "core/data_path.h"
#include "core/log.h"
#include "core/quit_request.h"
#include "core/startup_order.h"

namespace {

std::string absolute_path(const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  char cwd[4096];
  if (!getcwd(cwd, sizeof cwd)) return path;
  return std::string(cwd) + "/" + path;
}

// Where memory runs out in spite of the limits on the data, the game stops
// with one line and a failure status instead of an abort.
[[noreturn]] void out_of_memory() {
  std::fputs("ERROR: out of memory: the game's data needs more memory than this machine gives it; stopping\n",
             stderr);
  std::fflush(stdout);
  std::_Exit(3);
}

// A closed log pipe (game | head) or a file-size limit makes writes fail
// with an error the game reports, instead of killing it with its files
// unwritten; a hang-up ends the run as a close request does. Set before the
// first line is printed: start-up may write the log out before main runs.
struct process_signals {
  process_signals() {
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    treat_hangup_as_quit_request();
  }
};
process_signals signals_first STARTUP_ORDER(STARTUP_SIGNALS);

}  // namespace

int main(int argc, char** argv) {
  make_log_line_buffered();
  std::set_new_handler(out_of_memory);
  atexit(SDL_Quit);

  run_options options;
  std::string error;
  if (!parse_run_options(argc, argv, options, error)) {
    std::fprintf(stderr, "%s: %s (try --help)\n", argv[0], error.c_str());
    return 2;
  }
  if (options.help) {
    print_usage(argv[0]);
    return 0;
  }
  if (options.version) {
    std::printf("veltmoore-brawl %s\n", game_version);
    return 0;
  }
  // Files named on the command line are relative to where the game was
  // started, not to the data directory it moves into.
  options.script = absolute_path(options.script);
  options.record = absolute_path(options.record);
  options.replay = absolute_path(options.replay);
  options.settings_file = absolute_path(options.settings_file);
  for (auto& shot : options.screenshots) shot.second = absolute_path(shot.second);
  if (options.data_dir.empty()) {
    char cwd[4096];
    const data_location found = find_data(std::getenv("VELTMOORE_BRAWL_DATA"), getcwd(cwd, sizeof cwd) ? cwd : ".",
                                          executable_path());
    if (found.dir.empty()) {
      std::fputs(no_data_message(found).c_str(), stderr);
      return 2;
    }
    options.data_dir = found.dir;
    options.data_installed = found.installed;
  }
  if (chdir(options.data_dir.c_str()) != 0) {
    std::fprintf(stderr, "%s: can't enter the data directory %s: %s\n", argv[0], options.data_dir.c_str(),
                 std::strerror(errno));
    return 2;
  }
  confine_data_to_current_directory();  // no data name may lead out of it
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  if (!options.check && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !driver) {
    std::fprintf(stderr,
                 "No display found (DISPLAY is not set), so the game can't open its window.\n"
                 "To run headless, use SDL's dummy video driver, e.g.:\n"
                 "  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy %s --frames 600\n"
                 "or run it under a virtual X server: xvfb-run -a %s\n",
                 argv[0], argv[0]);
  }
  // Before any window: the checker needs no display and reports through its exit status.
  if (options.check) return run_data_check(options.notes);
  if (options.view >= 0 || !options.view_file.empty()) return run_viewer(options);
  if (options.online()) return run_online(options);
  if (is_online_replay(options)) return play_online_replay(options);
  return run_game(options);
}

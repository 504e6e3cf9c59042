// Runs the game executable as a child process for end-to-end tests.
#pragma once
#include <string>
#include <vector>

struct game_run {
  int exit_status = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

// `env` entries are NAME=value pairs added to the child's environment.
game_run run_fight(const std::vector<std::string>& args, const std::vector<std::string>& env);

// A game started in the background, for tests that act on it while it runs
// (signals). Its standard output and error go to files in `dir`.
struct running_game {
  int pid = -1;  // -1 once it has been waited for
  std::string dir;
};

// Starts the game with SIGINT and SIGTERM at their default dispositions (a
// shell's `cmd &` would start it with SIGINT ignored).
running_game start_fight(const std::vector<std::string>& args, const std::vector<std::string>& env);

// Waits up to `seconds` for `needle` to appear in the game's standard output.
bool wait_for_output(const running_game& game, const std::string& needle, double seconds);

// Waits up to `seconds` for the game to end and collects its run. When it is
// still running then, it is killed and the result has exit_status -1 and
// `ended` false. `waited` is the time spent waiting, in seconds.
game_run wait_for_exit(running_game& game, double seconds, bool& ended, double& waited);

// Path of the built game executable.
std::string fight_executable();

// The bundled data tree the tests run on: GAME_DATA_DIR, else build/data
// beside the executable; empty when neither holds game\game.ini.
std::string bundled_data_dir();

// A copy of the data tree `data_dir` whose game\game.ini lacks the match keys
// (rounds, round_time, difficulty) and main_menu: the select screen after the
// titles and one endless fight, as in a tree made before matches. Made once per test process (in a temporary directory,
// removed at exit) and reused; empty when `data_dir` is empty.
std::string without_match_keys(const std::string& data_dir);
// A copy of `data_dir` without any key added after the first version of the
// game: the match keys, push_apart, hide_timing_figure, hide_hit_boxes and
// shot_name_height, music and main_menu in game\game.ini
// and knocked_out in every character file (music in the stage file). Made and reused as above.
std::string without_new_keys(const std::string& data_dir);

// A copy of `data_dir` without main_menu in game\game.ini: the select screen
// follows the titles, for the runs whose scripts start there. Made and reused as above.
std::string without_main_menu(const std::string& data_dir);

// Path of a file of the source tree, e.g. "README.md".
std::string source_path(const std::string& relative);

// Contents of a file; empty when it can't be read.
std::string read_file(const std::string& path);

// Index of `needle` in `haystack` at or after `from`; npos when absent.
// Lets tests check that log lines appear in order.
size_t find_after(const std::string& haystack, const std::string& needle, size_t from);

// Writes into `out_dir` (made if missing) a copy of `data_dir` whose fighters
// can only fight hand to hand: no special launches a projectile (every fire
// key of their special moves is 0), and Kastrell, roster position 1, has no
// special at all (no move 12, no combo performing it). False when `data_dir`
// has no game\game.ini or a file can't be written.
bool write_hand_to_hand_tree(const std::string& data_dir, const std::string& out_dir);
// The same tree in a temporary directory, made once per process and removed
// at exit; empty when `data_dir` is empty.
std::string hand_to_hand_tree(const std::string& data_dir);

// Command-line options. With none the game runs exactly as a player expects;
// the others drive it headless and repeatably (tests, screenshots, benchmarks).
#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct replay_file;

struct run_options {
  std::string data_dir;         // --data-dir DIR: where game\ and rsrc\ live (default: searched, see data_location.h)
  bool seeded = false;          // --seed N: seed the random source with N instead of the time
  unsigned seed = 0;
  std::string script;           // --script FILE: key script (frame, key, down/up lines)
  std::string record;           // --record FILE: write the run as a replay
  std::string replay;           // --replay FILE: play a recorded run back
  // The file of --script or --replay, read and checked once by parse_run_options.
  std::shared_ptr<const replay_file> input;
  long frame_limit = -1;        // --frames N: stop after N presented frames
  std::vector<std::pair<long, std::string>> screenshots;  // --screenshot N:FILE.png
  bool no_limiter = false;      // --no-limiter: do not pace frames
  bool opengl = false;          // --opengl: draw through OpenGL whatever game.ini says
  bool software = false;        // --software: draw with surface blits whatever game.ini says
  bool demo = false;            // --demo: the computer plays both fighters
  long benchmark_frames = -1;   // --benchmark N: time N fight frames and print figures (online: the first N, paced)
  bool check = false;           // --check: check the data without opening a window
  bool notes = false;           // --notes (with --check): also list files nothing refers to
  int fighter = -1;             // --fighter N: skip the select screen and play roster position N
  int training = -1;            // --training N: training with roster position N against a dummy
  int dummy = -1;               // --dummy N (with --training): the dummy's roster position (default 0)
  int view = -1;                // --view N: the fighter viewer on roster position N
  std::string view_file;        // --view-file FILE: the fighter viewer on a character file (a data name)
  std::string settings_file;    // --settings FILE: the player's settings file instead of the usual one
  bool no_settings = false;     // --no-settings: neither read nor write a settings file
  bool help = false;            // --help
  bool version = false;         // --version
  bool data_installed = false;  // the data was found installed beside the executable (not an option)
  int difficulty = -1;          // --difficulty N: the computer opponent's level 0..5 (-1: game.ini's)
  int duel_level = -1;          // --duel N|walker (benchmark): entry 1 steered at level N, ends at a fall
  bool duel_walker = false;     //   "walker": entry 1 only walks in and punches, through the keyboard
  int host_port = -1;           // --host PORT: online play, waiting for one opponent on UDP port PORT
  std::string join_host;        // --join HOST:PORT: online play against the host at HOST:PORT
  int join_port = -1;
  int input_delay = 2;          // --input-delay N: frames 0..8 before one's own actions take effect online
  bool online() const { return host_port >= 0 || join_port >= 0; }
};

// False (with `error` set) on an unknown option or a bad value, and when the
// file of --script or --replay can't be read or is malformed (the error names
// the file and line); otherwise that file is read into `input`.
bool parse_run_options(int argc, char** argv, run_options& out, std::string& error);
void print_usage(const char* program);

// The data checker behind `--check`: reads the settings, the roster's
// character files, every animation they name, the loading animation, the
// title pictures, the font and the stage with its background set and sortie
// files, without opening a window, and lists every problem it finds the way a
// compiler does: "FILE:LINE: error: ..." (or warning, or note), sorted by file
// and line, then "N errors, M warnings in K files".
#pragma once
#include <chrono>
#include <cstdarg>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/data_path.h"
#include "core/log.h"

class config_file;

enum class data_severity { error, warning, note };

// Where a file is named: the file and line of the key that names it. A file
// the game always loads by its fixed name has no site (file empty); `what`
// then says who loads it.
struct data_site {
  std::string file;
  int line = 0;
  std::string key;   // the naming key, e.g. "move3"
  std::string what;  // for a fixed name: "the title screens"
};

// The kinds of key=value file, each with its own set of keys.
enum class data_file_kind { settings, character, animation, level, background_set, sortie };

class data_checker {
 public:
  bool notes = false;     // --notes: also list files nothing refers to
  int files_checked = 0;  // distinct files opened

  // One finding at FILE:LINE (line 0: the file as a whole).
  void report(data_severity severity, const std::string& file, int line, const char* fmt, ...)
      GAME_PRINTF(5, 6);
  void error(const std::string& file, int line, const char* fmt, ...) GAME_PRINTF(4, 5);
  void warning(const std::string& file, int line, const char* fmt, ...) GAME_PRINTF(4, 5);
  // A finding about a file named at `by`: at the naming key when there is
  // one, else at the file itself.
  void error_at(const data_site& by, const char* path, const char* fmt, ...) GAME_PRINTF(4, 5);

  void check_settings();
  void check_fighter(const char* path);
  void check_animation(const char* path, const data_site& by);
  void check_level(const char* path);

  // A key=value file of the given kind; false (and an error) when it can't be
  // opened. Checks its keys: unknown, repeated, dropped at the end of the file.
  bool open_config(config_file& config, const char* path, const data_site& by, data_file_kind kind);
  // A count key: an error when absent (if required), negative or above `limit`.
  int count_of(const config_file& config, const char* file, const char* key, int limit, bool required);
  // A picture file; `need_key` asks for at least one pixel of the key colour.
  void check_picture(const char* path, const data_site& by, bool need_key);
  void check_sound(const char* path, const data_site& by);
  void check_font(const char* path);
  // A file that must not be opened (app/check/data_check_files.cpp): not a regular
  // file, too big, or outside the data directory; true after an error.
  // Each refused file is listed once.
  bool refused(const char* path, data_kind kind, const data_site& by);

  // Prints the findings sorted by file and line and the summary line; returns
  // the exit status: 1 when any error was found, else 0.
  int finish();

  // Every file named so far, as the data writes it (for the notes).
  const std::set<std::string>& named_files() const { return seen_; }

 private:
  struct finding {
    std::string file;
    int line;
    data_severity severity;
    std::string text;
  };
  struct picture_state {
    bool loaded = false;
    bool has_key = false;
    bool key_reported = false;
  };
  std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
  std::vector<finding> findings_;
  std::set<std::string> seen_;                     // files already checked (each is listed once)
  std::set<std::string> refused_;                  // files refused by refused()
  std::map<std::string, picture_state> pictures_;  // decoded once, whoever names them
  bool first_time(const char* path);
  void add(data_severity severity, const std::string& file, int line, const char* fmt, va_list args);
};

// A site inside the config file `file` at the first occurrence of `key`.
data_site site_of(const config_file& config, const char* file, const std::string& key);
// A fixed name loaded by the game itself.
data_site fixed_site(const char* what);

// Runs every check and prints the findings; returns the process exit status:
// 0 when the data has no errors, 1 otherwise. With `notes`, also lists the
// pictures, sounds and animations nothing refers to. Uses SDL's dummy
// drivers, so it needs no display and no sound device.
int run_data_check(bool notes = false);

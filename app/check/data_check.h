// The data checker behind `--check`: reads the settings, the roster's
// character files, every animation they name, the loading animation, the
// title pictures, the font and the stage with its background set and sortie
// files, without opening a window, and lists every problem it finds the way a
// compiler does: "FILE:LINE: error: ..." (or warning, or note), sorted by file
// and line, then "N errors, M warnings in K files".
#pragma once
#include <chrono>
#include <cstdint>
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

// What a file is checked as. A name is checked once for each kind that names
// it: a picture named as an animation file is checked as one too.
enum class checked_kind { settings, character, animation, level, background_set, sortie, picture, sound, font };

class data_checker {
 public:
  bool notes = false;     // --notes: also list what is worth knowing but not wrong
  // The colours (0xRRGGBB) the player's costume replaces, looked for in every
  // picture; set before the first picture is checked.
  std::vector<uint32_t> costume_colours;
  int files_checked = 0;  // distinct files named (checked as one kind or more)

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
  // A picture file; with `need_key` (a picture drawn over others) one
  // without a pixel of the key colour gets a note (with `notes`): it is drawn
  // whole, as a rectangle.
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
  const std::set<std::string>& named_files() const { return named_; }

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
    uint32_t costume_colours = 0;  // bit i: costume_colours[i] appears in it
  };
  std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
  std::vector<finding> findings_;
  std::set<std::string> named_;                                // every file named
  std::set<std::pair<checked_kind, std::string>> checked_;     // each checked once per kind
  std::set<std::pair<data_kind, std::string>> refused_;        // refused by refused(), per size cap
  std::map<std::string, picture_state> pictures_;              // decoded once, whoever names them
  std::map<std::string, std::vector<std::string>> frame_pictures_;  // animation file -> its frames' pictures
  void check_costume(const config_file& cfg, const char* path);
  // True the first time `path` is checked as `kind`.
  bool first_time(const char* path, checked_kind kind);
  // False (and an error at `by`) when the file holds binary data: a picture
  // or a sound named where a key=value file belongs.
  bool looks_like_text(const char* path, const data_site& by);
  void add(data_severity severity, const std::string& file, int line, const char* fmt, va_list args);
};

// A site inside the config file `file` at the first occurrence of `key`.
data_site site_of(const config_file& config, const char* file, const std::string& key);
// A fixed name loaded by the game itself.
data_site fixed_site(const char* what);

// Runs every check and prints the findings; returns the process exit status:
// 0 when the data has no errors, 1 otherwise. With `notes`, also lists the
// pictures, sounds and animations nothing refers to, pictures drawn whole for
// want of the key colour and costume colours a fighter doesn't wear. Uses
// SDL's dummy drivers, so it needs no display and no sound device.
int run_data_check(bool notes = false);

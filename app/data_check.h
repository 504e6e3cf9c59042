// The data checker behind `--check`: reads the settings, the roster's
// character files, every animation they name, the loading animation, the
// title pictures, the font and the stage with its background set and sortie
// files, without opening a window, and lists every problem it finds (missing
// files, missing move slots, unknown control names, counts and indices out of
// range, pictures without the key colour, sounds that don't load).
#pragma once
#include <set>
#include <string>

#include "core/data_path.h"
#include "core/log.h"

class config_file;

class data_checker {
 public:
  int files_checked = 0;  // distinct files opened
  int problems = 0;       // lines printed so far

  // One "PROBLEM: [file] ..." line.
  void problem(const char* file, const char* fmt, ...) GAME_PRINTF(3, 4);

  void check_settings();
  void check_fighter(const char* path);
  void check_animation(const char* path);
  void check_level(const char* path);

  // A key=value file; false (and a problem) when it can't be opened.
  bool open_config(config_file& config, const char* path, const char* named_by);
  // A count key: problem when absent (if required), negative or above `limit`.
  int count_of(const config_file& config, const char* file, const char* key, int limit, bool required);
  // A picture file; `need_key` asks for at least one pixel of the key colour.
  void check_picture(const char* path, const char* named_by, bool need_key);
  void check_sound(const char* path, const char* named_by);
  void check_font(const char* path);
  // A file that must not be opened (app/data_check_files.cpp): not a regular
  // file, too big, or outside the data directory; true after a problem line.
  // Each refused file is listed once.
  bool refused(const char* path, data_kind kind);

 private:
  std::set<std::string> seen_;  // files already checked (each is listed once)
  std::set<std::string> refused_;  // files refused by refused()
  bool first_time(const char* path);
};

// Runs every check and prints a summary line; returns the process exit status:
// 0 when the data is sound, 1 when any problem was found. Uses SDL's dummy
// drivers, so it needs no display and no sound device.
int run_data_check();

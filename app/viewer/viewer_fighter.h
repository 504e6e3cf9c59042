// The fighter the viewer shows, loaded by the fight's own loader, and its
// reload from disk: pictures and sounds whose files changed (or failed to
// load before) are read again in the caches, then the character file and
// its animations are read afresh. The problems the loaders print during a
// load are kept to be shown on screen.
#pragma once
#include <sys/types.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fighter/lifeform.h"

class control_map;

// A failure line a load printed, and how many times it printed it.
struct problem_line {
  std::string text;
  int times = 1;
};

class viewer_fighter {
 public:
  std::string file;                // the character file, a data name
  std::unique_ptr<lifeform> plain;     // as the computer plays it
  std::unique_ptr<lifeform> costumed;  // with the player's colour swaps, loaded when first asked
  std::vector<std::string> move_files;  // "move%d" of the character file, by slot ("" when absent)
  std::vector<problem_line> problems;   // ERROR, WARNING and failure lines of the last load
  int rest_width = 0, rest_height = 0;  // the box size the loader gave (a move changes it)
  control_map* controls[2] = {nullptr, nullptr};  // the computer's and the player's combo keys; not owned

  viewer_fighter() = default;
  viewer_fighter(const viewer_fighter&) = delete;
  viewer_fighter& operator=(const viewer_fighter&) = delete;
  ~viewer_fighter();  // the plain fighter goes first, then the costumed one

  // Loads `char_file` (the plain fighter; the costumed one too when `costume`).
  void load(const std::string& char_file, bool costume);
  // Reads changed pictures and sounds again, then loads the fighter anew.
  void reload();
  // The fighter for the costume asked for, loading it when needed; null only
  // before the first load. Still this object's: valid until the next load or reload.
  lifeform* shown(bool costume);

 private:
  struct file_stamp {
    off_t size = -1;
    long long mtime_ns = -1;
  };
  std::map<std::string, file_stamp> stamps_;  // cached file -> as it was when last read
  bool costume_loaded_ = false;

  std::unique_ptr<lifeform> load_one(bool costume);
  void load_fighters(bool costume);
  void note_file_stamps();
  void refresh_changed_files();
};

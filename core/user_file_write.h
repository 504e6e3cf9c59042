// Every file the game writes for the player (replays; settings and
// screenshots alike) goes through here, so none is ever left half written,
// none overwrites another file unasked, and none lands where a planted
// symbolic link or a folder inside the game's data would send it.
//
// The bytes go to a new temporary file in the target folder (created with
// O_EXCL | O_NOFOLLOW), are synced to the disk, and only then is the file
// given its name. On any failure the temporary file is removed: the result
// is the whole file or nothing.
#pragma once
#include <string>

struct user_file_target {
  std::string dir;   // the folder; made (mode 0755) when missing, its parent must exist
  std::string name;  // "stem.ext"; when taken, "stem-2.ext", "stem-3.ext", ... (never overwritten)
  bool replace = false;  // instead: put the file in place of a regular file of that name
  // A tree the file must never land in (the game's data), whatever symbolic
  // links or ".." the folder's path holds. Empty: no such tree.
  std::string keep_out_of;
};

// True with `written` set to the path of the file; false with `error` naming
// the path tried and why it failed.
bool write_user_file(const user_file_target& target, const std::string& bytes, std::string& written,
                     std::string& error);

// Called (when set) at each point of a write where a crash could strike:
// 1 the temporary file exists, 2 its bytes are written, 3 they are synced,
// 4 the file has its name. Lets a test stop the process there.
extern void (*user_file_write_point)(int point);

// The real path of `path` (symbolic links, "." and ".." resolved) even when
// its last components do not exist yet (those are taken as written).
std::string resolved_path(const std::string& path);

// Whether `path` is `dir` or lies under it (both already resolved).
bool path_inside(const std::string& path, const std::string& dir);

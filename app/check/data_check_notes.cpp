#include "app/check/data_check_notes.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "app/check/data_check.h"

namespace {

// A name as the data writes it: backslashes; "./" and doubled separators dropped.
std::string data_name(std::string name) {
  std::replace(name.begin(), name.end(), '/', '\\');
  std::string out;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\\' && (out.empty() || out.back() == '\\')) continue;
    if (name.compare(i, 2, ".\\") == 0 && (out.empty() || out.back() == '\\')) {
      ++i;
      continue;
    }
    out += name[i];
  }
  return out;
}

const char* kind_of(const std::string& file) {
  const size_t dot = file.rfind('.');
  if (dot == std::string::npos) return nullptr;
  std::string ext = file.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == ".png" || ext == ".bmp") return "picture";
  if (ext == ".wav") return "sound";
  if (ext == ".ini") return "key=value file";
  return nullptr;
}

// One folder on the way down: what is left to visit in it.
struct folder_level {
  std::vector<std::string> subfolders;  // not yet visited
  size_t name_length = 0;               // of the walk's name prefix while inside it
  dev_t dev = 0;                        // to know it again on the way back up
  ino_t ino = 0;
};

// Reads every entry of the folder `fd` (taken over and closed): files go to
// `file`, subfolders into `level`. Symbolic links are not followed: the game
// refuses what leads outside anyway.
template <typename On_file>
void read_folder(int fd, folder_level& level, On_file file) {
  DIR* dir = fdopendir(fd);
  if (!dir) {
    close(fd);
    return;
  }
  while (const dirent* e = readdir(dir)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    unsigned char type = e->d_type;
    if (type == DT_UNKNOWN) {
      struct stat st;
      if (fstatat(dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
      type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_LNK;
    }
    if (type == DT_DIR) level.subfolders.push_back(name);
    if (type == DT_REG) file(name);
  }
  closedir(dir);
}

bool same_folder(int fd, const folder_level& level) {
  struct stat st;
  return fstat(fd, &st) == 0 && st.st_dev == level.dev && st.st_ino == level.ino;
}

}  // namespace

void note_unreferenced_files(data_checker& check) {
  std::set<std::string> named;
  for (const std::string& name : check.named_files()) named.insert(data_name(name));

  // Depth first with one folder open at a time: the walk keeps, per level,
  // only the names still to visit and one shared name prefix, so a deep tree
  // costs memory in proportion to its size, not to its depth squared.
  std::string prefix;  // the current folder as the data names it, with a trailing backslash
  auto note = [&](const std::string& file) {
    const char* kind = kind_of(file);
    if (!kind) return;
    const std::string name = prefix + file;
    if (!named.count(name)) check.report(data_severity::note, name, 0, "nothing refers to this %s", kind);
  };
  int fd = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  std::vector<folder_level> levels(1);
  struct stat st;
  if (fstat(fd, &st) != 0) {
    close(fd);
    return;
  }
  levels.back().dev = st.st_dev;
  levels.back().ino = st.st_ino;
  read_folder(dup(fd), levels.back(), note);
  while (!levels.empty()) {
    folder_level& here = levels.back();
    if (here.subfolders.empty()) {
      levels.pop_back();
      if (levels.empty()) break;
      // Back up one level; a folder moved meanwhile ends the walk.
      const int up = openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      close(fd);
      fd = up;
      if (fd < 0 || !same_folder(fd, levels.back())) break;
      prefix.resize(levels.back().name_length);
      continue;
    }
    const std::string sub = here.subfolders.back();
    here.subfolders.pop_back();
    const int down = openat(fd, sub.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (down < 0 || fstat(down, &st) != 0) {
      if (down >= 0) close(down);
      continue;
    }
    close(fd);
    fd = down;
    prefix += sub + "\\";
    folder_level next;
    next.dev = st.st_dev;
    next.ino = st.st_ino;
    next.name_length = prefix.size();
    levels.push_back(std::move(next));
    read_folder(dup(fd), levels.back(), note);
  }
  if (fd >= 0) close(fd);
}

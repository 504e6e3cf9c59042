#include "app/replay/replay_saving.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

std::string without_trailing_slashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string parent_of(const std::string& dir) {
  const std::string d = without_trailing_slashes(dir);
  const size_t slash = d.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : d.substr(0, slash);
}

std::string joined(const std::string& dir, const std::string& name) {
  const std::string d = without_trailing_slashes(dir);
  return d == "/" ? "/" + name : d + "/" + name;
}

bool inside(const std::string& path, const std::string& dir) {
  const std::string d = without_trailing_slashes(dir);
  if (d == "/") return true;
  return path == d || path.compare(0, d.size() + 1, d + "/") == 0;
}

std::string file_name(std::time_t when) {
  std::tm local = {};
  localtime_r(&when, &local);
  char name[32];
  std::strftime(name, sizeof name, "%Y%m%d-%H%M%S.replay", &local);
  return name;
}

// Writes the whole text or nothing: a file cut short by a full disk is removed.
bool write_file(const std::string& file, const std::string& text, std::string& why) {
  std::FILE* out = std::fopen(file.c_str(), "w");
  if (!out) {
    why = std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  const int write_errno = errno;
  if (std::fclose(out) != 0 || !written) {
    why = std::strerror(written ? errno : write_errno);
    std::remove(file.c_str());
    return false;
  }
  return true;
}

}  // namespace

bool save_replay_text(const std::string& text, const std::string& data_dir, const char* home, std::time_t when,
                      std::string& written, std::string& error, bool beside_data) {
  std::vector<std::string> places;
  if (beside_data) places.push_back(joined(parent_of(data_dir), "replays"));
  if (home && *home) places.push_back(joined(home, "replays"));
  const std::string name = file_name(when);
  error.clear();
  for (const std::string& dir : places) {
    if (!error.empty()) error += "; ";
    if (inside(dir, data_dir)) {
      error += dir + ": inside the data directory";
      continue;
    }
    if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) {
      error += dir + ": " + std::strerror(errno);
      continue;
    }
    const std::string file = joined(dir, name);
    std::string why;
    if (write_file(file, text, why)) {
      written = file;
      return true;
    }
    error += file + ": " + why;
  }
  return false;
}

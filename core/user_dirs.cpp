#include "core/user_dirs.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// The XDG rule: a variable that is unset, empty or relative is ignored.
std::string base_dir(const char* variable, const char* under_home) {
  const char* set = std::getenv(variable);
  if (set && set[0] == '/') return std::string(set) + "/veltmoore-brawl";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/" + under_home + "/veltmoore-brawl";
  return "";
}

}  // namespace

std::string user_config_dir() { return base_dir("XDG_CONFIG_HOME", ".config"); }
std::string user_data_dir() { return base_dir("XDG_DATA_HOME", ".local/share"); }

bool make_folders(const std::string& dir, std::string& error) {
  if (dir.empty()) {
    error = "no folder";
    return false;
  }
  for (size_t slash = dir.find('/', 1);; slash = dir.find('/', slash + 1)) {
    const std::string part = slash == std::string::npos ? dir : dir.substr(0, slash);
    if (!part.empty() && mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
      error = part + ": " + std::strerror(errno);
      return false;
    }
    if (slash == std::string::npos) break;
  }
  struct stat info;
  if (stat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    error = dir + ": not a folder";
    return false;
  }
  return true;
}

#include "app/data_location.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool holds_settings(const std::string& dir) {
  struct stat st;
  return stat((dir + "/game/game.ini").c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string folder_of(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

data_location find_data(const char* env, const std::string& cwd, const std::string& executable) {
  data_location where;
  // Named by the player: taken as given, as --data-dir is.
  if (env && *env) {
    where.dir = env;
    return where;
  }
  where.tried.push_back(cwd);
  if (holds_settings(cwd)) {
    where.dir = cwd;
    return where;
  }
  if (!executable.empty()) {
    const std::string prefix = folder_of(folder_of(executable));
    const std::string installed = (prefix == "/" ? "" : prefix) + "/share/veltmoore-brawl/data";
    where.tried.push_back(installed);
    if (holds_settings(installed)) {
      where.dir = installed;
      where.installed = true;
    }
  }
  return where;
}

std::string executable_path() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "";
  return std::string(path, static_cast<size_t>(n));
}

std::string no_data_message(const data_location& where) {
  std::string line = "ERROR: can't find the game's data (a directory holding game/game.ini): not given with "
                     "--data-dir, $VELTMOORE_BRAWL_DATA not set, nothing in ";
  for (size_t i = 0; i < where.tried.size(); ++i) {
    if (i > 0) line += i + 1 == where.tried.size() ? " nor in " : ", ";
    line += where.tried[i];
  }
  return line + "\n";
}

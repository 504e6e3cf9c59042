#include "app/replay/replay_saving.h"

#include <vector>

#include "core/user_dirs.h"
#include "core/user_file_write.h"

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

std::string file_name(std::time_t when) {
  std::tm local = {};
  localtime_r(&when, &local);
  char name[32];
  std::strftime(name, sizeof name, "%Y%m%d-%H%M%S.replay", &local);
  return name;
}

}  // namespace

bool save_replay_text(const std::string& text, const std::string& data_dir, const char* home, std::time_t when,
                      std::string& written, std::string& error, bool beside_data, const std::string& user_dir) {
  std::vector<std::string> places;
  std::string folder_error;
  if (!user_dir.empty() && make_folders(user_dir, folder_error)) places.push_back(joined(user_dir, "replays"));
  if (beside_data) places.push_back(joined(parent_of(resolved_path(data_dir)), "replays"));
  if (home && *home) places.push_back(joined(home, "replays"));
  error = folder_error;
  for (const std::string& dir : places) {
    user_file_target target;
    target.dir = dir;
    target.name = file_name(when);
    target.keep_out_of = data_dir;
    std::string why;
    if (write_user_file(target, text, written, why)) return true;
    error += (error.empty() ? "" : "; ") + why;
  }
  return false;
}

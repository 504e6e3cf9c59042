#include "app/check/data_check_notes.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>

#include "app/check/data_check.h"

namespace fs = std::filesystem;

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

const char* kind_of(const fs::path& file) {
  std::string ext = file.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == ".png" || ext == ".bmp") return "picture";
  if (ext == ".wav") return "sound";
  if (ext == ".ini") return "key=value file";
  return nullptr;
}

}  // namespace

void note_unreferenced_files(data_checker& check) {
  std::set<std::string> named;
  for (const std::string& name : check.named_files()) named.insert(data_name(name));
  std::error_code ec;
  // Symbolic links are not followed: the game refuses what leads outside anyway.
  for (fs::recursive_directory_iterator it(".", ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    const char* kind = kind_of(it->path());
    if (!kind) continue;
    const std::string name = data_name(it->path().lexically_relative(".").string());
    if (named.count(name)) continue;
    check.report(data_severity::note, name, 0, "nothing refers to this %s", kind);
  }
}

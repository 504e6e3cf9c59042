// A fighter's shown name: the character file's `name` key, or its file name.
#include <cctype>
#include <string>

#include "fighter/lifeform.h"

namespace {

// Shown with the fight's font: printable characters only, and short. A file
// name starts with a capital; a value can't hold a space, so an underscore in
// the `name` key stands for one.
std::string shown_name(const std::string& name, bool from_file_name) {
  std::string shown;
  for (char c : name) {
    if (shown.size() >= max_fighter_name) break;
    if (!from_file_name && c == '_') c = ' ';
    shown += std::isprint(static_cast<unsigned char>(c)) ? c : '?';
  }
  if (from_file_name && !shown.empty()) {
    shown[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(shown[0])));
  }
  return shown;
}

}  // namespace

std::string fighter_name_from_file(const char* char_path) {
  std::string name = char_path ? char_path : "";
  const size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const size_t suffix = name.rfind("_char.ini");
  if (suffix != std::string::npos && suffix + 9 == name.size()) {
    name.erase(suffix);
  } else {
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
  }
  return shown_name(name, true);
}

std::string fighter_name_from_key(const char* value) { return shown_name(value ? value : "", false); }

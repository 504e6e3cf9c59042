// A fighter's shown name, taken from its character file's name.
#include <cctype>
#include <string>

#include "fighter/lifeform.h"

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
  // Shown with the fight's font: printable characters only, and short.
  std::string shown;
  for (char c : name) {
    if (shown.size() >= 24) break;
    shown += std::isprint(static_cast<unsigned char>(c)) ? c : '?';
  }
  if (!shown.empty()) shown[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(shown[0])));
  return shown;
}

#include "app/check/data_check_combos.h"

#include <cstdio>
#include <string>

#include "app/check/data_check.h"
#include "core/config_file.h"
#include "fighter/lifeform.h"

namespace {

// The names a combo step may use: the keys of both control maps.
const char* const control_names[] = {"up", "noup", "down", "left", "right", "punch", "kick"};

bool is_control_name(const std::string& name) {
  for (const char* c : control_names) {
    if (name == c) return true;
  }
  return false;
}

std::string key_of(const char* fmt, int a, int b = 0) {
  char key[64];
  std::snprintf(key, sizeof key, fmt, a, b);
  return key;
}

}  // namespace

void check_combos(data_checker& check, const config_file& cfg, const char* path) {
  const int combos = check.count_of(cfg, path, "combos", max_char_combos, false);
  for (int i = 0; i < combos; ++i) {
    const std::string steps_key = key_of("combo%dmoves", i);
    const int steps = check.count_of(cfg, path, steps_key.c_str(), max_combo_steps, true);
    int bound = 0;           // steps the game binds: the named, known ones
    std::string first_name;  // the first bound step
    int first_line = 0;
    for (int j = 0; j < steps; ++j) {
      const std::string key = key_of("combo%dmove%d", i, j);
      const std::string name = cfg.get_string(key.c_str());
      if (!cfg.has_key(key.c_str())) {
        check.error(path, cfg.line_of(steps_key.c_str()), "%s is missing", key.c_str());
      } else if (!is_control_name(name)) {
        check.error(path, cfg.line_of(key.c_str()), "%s=%s is not a control (up, noup, down, left, right, punch, kick)",
                    key.c_str(), name.c_str());
      } else if (bound++ == 0) {
        first_name = name;
        first_line = cfg.line_of(key.c_str());
      }
    }
    if (bound == 0 && cfg.has_key(steps_key.c_str())) {
      check.warning(path, cfg.line_of(steps_key.c_str()), "combo %d has no step the game can bind, so it can never be entered",
                    i);
    } else if (first_name == "left") {
      check.warning(path, first_line,
                    "combo %d starts with left, which needs down released and left pressed at once: one key change "
                    "never is both, so the combo can never start",
                    i);
    }
  }
}

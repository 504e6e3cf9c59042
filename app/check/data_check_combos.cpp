#include "app/check/data_check_combos.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

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

namespace {

// A combo as the game binds it: the steps with a known control name.
struct bound_combo {
  int index = 0;
  int line = 0;  // of "combo%dmoves"
  std::vector<std::string> steps;
};

std::string joined(const std::vector<std::string>& steps, size_t n) {
  std::string out;
  for (size_t i = 0; i < n; ++i) out += (i ? ", " : "") + steps[i];
  return out;
}

// Combos that can start: two with the same steps, or one whose steps begin
// another's, both fire on one entry.
void check_overlaps(data_checker& check, const std::vector<bound_combo>& combos, const char* path) {
  for (size_t a = 0; a < combos.size(); ++a) {
    for (size_t b = 0; b < combos.size(); ++b) {
      const bound_combo &first = combos[a], &other = combos[b];
      if (a == b || first.steps.size() > other.steps.size()) continue;
      if (!std::equal(first.steps.begin(), first.steps.end(), other.steps.begin())) continue;
      if (first.steps.size() == other.steps.size()) {
        if (b > a) continue;  // said once, at the later combo
        check.warning(path, first.line,
                      "combo %d has the same steps as combo %d (line %d): %s; one entry fires both, and combo %d's "
                      "move replaces combo %d's",
                      first.index, other.index, other.line, joined(first.steps, first.steps.size()).c_str(),
                      first.index, other.index);
      } else {
        check.warning(path, first.line,
                      "combo %d (%s) is the start of combo %d (line %d: %s): entering combo %d fires combo %d too",
                      first.index, joined(first.steps, first.steps.size()).c_str(), other.index, other.line,
                      joined(other.steps, other.steps.size()).c_str(), other.index, first.index);
      }
    }
  }
}

}  // namespace

void check_combos(data_checker& check, const config_file& cfg, const char* path) {
  const int combos = check.count_of(cfg, path, "combos", max_char_combos, false);
  std::vector<bound_combo> startable;
  for (int i = 0; i < combos; ++i) {
    const std::string steps_key = key_of("combo%dmoves", i);
    const int steps = check.count_of(cfg, path, steps_key.c_str(), max_combo_steps, true);
    bound_combo bound;  // the steps the game binds: the named, known ones
    bound.index = i;
    bound.line = cfg.line_of(steps_key.c_str());
    int first_line = 0;
    for (int j = 0; j < steps; ++j) {
      const std::string key = key_of("combo%dmove%d", i, j);
      const std::string name = cfg.get_string(key.c_str());
      if (!cfg.has_key(key.c_str())) {
        check.error(path, cfg.line_of(steps_key.c_str()), "%s is missing", key.c_str());
      } else if (!is_control_name(name)) {
        check.error(path, cfg.line_of(key.c_str()), "%s=%s is not a control (up, noup, down, left, right, punch, kick)",
                    key.c_str(), name.c_str());
      } else {
        if (bound.steps.empty()) first_line = cfg.line_of(key.c_str());
        bound.steps.push_back(name);
      }
    }
    if (bound.steps.empty() && cfg.has_key(steps_key.c_str())) {
      check.warning(path, cfg.line_of(steps_key.c_str()), "combo %d has no step the game can bind, so it can never be entered",
                    i);
    } else if (!bound.steps.empty() && bound.steps[0] == "left") {
      check.warning(path, first_line,
                    "combo %d starts with left, which needs down released and left pressed at once: one key change "
                    "never is both, so the combo can never start",
                    i);
    } else if (!bound.steps.empty()) {
      startable.push_back(bound);
    }
  }
  check_overlaps(check, startable, path);
}

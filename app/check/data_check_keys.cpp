#include "app/check/data_check_keys.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <vector>

#include "core/config_file.h"

namespace {

// One list per kind of file: adding a key the game reads is one line here.
const char* const settings_keys[] = {
    "width", "height", "bpp", "fps", "fullscreen", "hwaccel",
    "rounds", "round_time", "difficulty", "scale", "smooth", "push_apart", "hide_timing_figure",
    "hide_hit_boxes", "shot_name_height", "effects_volume", "music_volume", "mute", "music",
    "main_menu", "menu_backdrop", "arcade_ending",
};
const char* const character_keys[] = {
    "name", "hp", "speed", "scale", "width", "height",
    "moves", "move%d", "move%dscale",
    "images", "image%d", "knocked_out",
    "combos", "combo%dmove", "combo%dmoves", "combo%dmove%d",
};
const char* const animation_keys[] = {
    "images", "loop", "image%d", "rate%d", "sound%d", "shake%d", "flash%d", "flashrate%d", "fire%d",
};
const char* const level_keys[] = {
    "bgset", "length", "part%d", "part%dparallax", "part%dparallax%d", "part%dsortie", "floor", "scale", "loop",
    "music",
};
const char* const background_set_keys[] = {"images", "image%d", "width"};
const char* const sortie_keys[] = {"enemies", "enemy%d", "enemy%dcount"};

template <size_t n>
std::vector<const char*> list(const char* const (&keys)[n]) {
  return std::vector<const char*>(keys, keys + n);
}

const std::vector<const char*>& keys_of(data_file_kind kind) {
  static const std::map<data_file_kind, std::vector<const char*>> all = {
      {data_file_kind::settings, list(settings_keys)},
      {data_file_kind::character, list(character_keys)},
      {data_file_kind::animation, list(animation_keys)},
      {data_file_kind::level, list(level_keys)},
      {data_file_kind::background_set, list(background_set_keys)},
      {data_file_kind::sortie, list(sortie_keys)},
  };
  return all.at(kind);
}

// `key` against a pattern whose "%d" matches a number as printf writes it.
bool matches(const char* key, const char* pattern) {
  while (*pattern) {
    if (pattern[0] == '%' && pattern[1] == 'd') {
      if (!std::isdigit(static_cast<unsigned char>(*key))) return false;
      if (*key == '0' && std::isdigit(static_cast<unsigned char>(key[1]))) return false;
      while (std::isdigit(static_cast<unsigned char>(*key))) ++key;
      pattern += 2;
    } else if (*key++ != *pattern++) {
      return false;
    }
  }
  return *key == '\0';
}

// The pattern with its "%d"s replaced by the digit runs of `key`, in order.
std::string filled(const char* pattern, const char* key) {
  std::vector<std::string> numbers;
  for (const char* k = key; *k;) {
    if (!std::isdigit(static_cast<unsigned char>(*k))) {
      ++k;
      continue;
    }
    const char* start = k;
    while (std::isdigit(static_cast<unsigned char>(*k))) ++k;
    numbers.emplace_back(start, k);
  }
  std::string out;
  size_t next = 0;
  for (const char* p = pattern; *p; ++p) {
    if (p[0] == '%' && p[1] == 'd') {
      out += next < numbers.size() ? numbers[next++] : "0";
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

// Edits between two texts: insert, delete, replace, or swap two neighbours.
size_t typing_distance(const std::string& a, const std::string& b) {
  std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
  for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    for (size_t j = 1; j <= b.size(); ++j) {
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

}  // namespace

bool is_known_key(const char* key, data_file_kind kind) {
  for (const char* pattern : keys_of(kind)) {
    if (matches(key, pattern)) return true;
  }
  return false;
}

std::string nearest_known_key(const char* key, data_file_kind kind) {
  std::string best;
  size_t best_distance = 0;
  for (const char* pattern : keys_of(kind)) {
    const std::string candidate = filled(pattern, key);
    const size_t distance = typing_distance(key, candidate);
    if (best.empty() || distance < best_distance) {
      best = candidate;
      best_distance = distance;
    }
  }
  // Near means a slip of the fingers: at most one edit in three letters.
  return best_distance * 3 <= best.size() ? best : "";
}

void check_keys(data_checker& check, const config_file& config, const char* path, data_file_kind kind) {
  std::map<std::string, int> first_line;  // key -> the line of its first occurrence
  for (int i = 0; i < config.entry_count(); ++i) {
    const char* key = config.key_at(i);
    const int line = config.line_at(i);
    const auto seen = first_line.find(key);
    if (seen != first_line.end()) {
      if (is_known_key(key, kind)) {
        check.warning(path, line, "%s is set again, after line %d: the first one wins, so %s=%s here is ignored", key,
                      seen->second, key, config.value_at(i));
      }
      continue;
    }
    first_line.emplace(key, line);
    if (!*key) {
      check.warning(path, line, "a lone '=' is read as an empty key: write key=value without spaces");
    } else if (!is_known_key(key, kind)) {
      const std::string near = nearest_known_key(key, kind);
      if (near.empty()) {
        check.warning(path, line, "%s: the game never reads this key in this kind of file", key);
      } else {
        check.warning(path, line, "%s: the game never reads this key in this kind of file; did you mean %s?", key,
                      near.c_str());
      }
    }
  }
  if (*config.dropped_token()) {
    check.warning(path, config.dropped_line(),
                  "%s is the file's last text and no line break follows it, so the game drops it: end the file "
                  "with a line break",
                  config.dropped_token());
  }
}

#include "app/user_settings.h"

#include <SDL.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <map>

#include "app/input/frame_actions.h"
#include "app/screens/online_menu.h"
#include "core/bounded_read.h"
#include "core/log.h"
#include "core/user_dirs.h"
#include "core/user_file_write.h"

namespace {

constexpr long long max_settings_bytes = 64 * 1024;

struct int_setting {
  const char* key;
  int lo, hi;
  int game_settings::*field;
};

const int_setting int_settings[] = {
    {"difficulty", 0, 5, &game_settings::difficulty},
    {"rounds", 0, 9, &game_settings::rounds},
    {"round_time", 0, 999, &game_settings::round_time},
    {"effects_volume", 0, 10, &game_settings::effects_volume},
    {"music_volume", 0, 10, &game_settings::music_volume},
    {"scale", 1, 8, &game_settings::scale},
};

struct bool_setting {
  const char* key;
  bool game_settings::*field;
};

const bool_setting bool_settings[] = {
    {"mute", &game_settings::mute},
    {"smooth", &game_settings::smooth},
};

bool whole_number(const std::string& text, int& out) {
  if (text.empty() || text.size() > 6) return false;
  size_t i = text[0] == '-' ? 1 : 0;
  if (i == text.size()) return false;
  for (size_t j = i; j < text.size(); ++j) {
    if (text[j] < '0' || text[j] > '9') return false;
  }
  out = std::atoi(text.c_str());
  return true;
}

bool binding_key(const std::string& key) {
  return key.size() > 3 && (key.compare(0, 3, "p1_") == 0 || key.compare(0, 3, "p2_") == 0);
}

// One key=value; false with `why` when it is refused.
bool apply(const std::string& key, const std::string& value, game_settings& s, std::string& why) {
  int v = 0;
  const bool number = whole_number(value, v);
  for (const int_setting& setting : int_settings) {
    if (key != setting.key) continue;
    const bool in_range = number && v >= setting.lo && v <= setting.hi &&
                          !(key == "round_time" && v > 0 && v < 10);  // 0 (no clock) or 10..999
    if (!in_range) {
      why = "is not " + std::string(key == "round_time" ? "0 or 10" : std::to_string(setting.lo)) + ".." +
            std::to_string(setting.hi) + ", keeping " + std::to_string(s.*setting.field);
      return false;
    }
    s.*setting.field = v;
    return true;
  }
  if (key == "online_address") {
    std::string host;
    int port = 0;
    if (!parse_online_address(value, host, port)) {
      why = "is not HOST:PORT, ignored";
      return false;
    }
    s.online_address = value;
    return true;
  }
  const bool is_fullscreen = key == "fullscreen";
  for (const bool_setting& setting : bool_settings) {
    if (key != setting.key && !is_fullscreen) continue;
    const bool now = is_fullscreen ? (s.flags & SDL_FULLSCREEN) != 0 : s.*setting.field;
    if (!number || (v != 0 && v != 1)) {
      why = std::string("is not 0 or 1, keeping ") + (now ? "1" : "0");
      return false;
    }
    if (is_fullscreen) {
      s.flags = v ? (s.flags | SDL_FULLSCREEN) : (s.flags & ~static_cast<uint32_t>(SDL_FULLSCREEN));
    } else {
      s.*setting.field = v != 0;
    }
    return true;
  }
  why = "is not a setting, ignored";
  return false;
}

void split_folder(const std::string& path, std::string& dir, std::string& name) {
  const size_t slash = path.rfind('/');
  dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  name = slash == std::string::npos ? path : path.substr(slash + 1);
}

user_settings the_file;
game_settings the_settings;

}  // namespace

std::string default_settings_path() {
  const std::string dir = user_config_dir();
  return dir.empty() ? "" : dir + "/settings.ini";
}

void read_user_settings(user_settings& file, game_settings& settings) {
  file.kept.clear();
  if (file.path.empty()) return;
  struct stat info;
  if (lstat(file.path.c_str(), &info) != 0 && errno == ENOENT) return;  // nothing set yet
  std::string text, error;
  if (!read_bounded_file(file.path, max_settings_bytes, text, error)) {
    log_out("WARNING: can't read the settings file %s: %s; using game.ini's\n", file.path.c_str(), error.c_str());
    return;
  }
  log_out("NOTICE: settings read from %s\n", file.path.c_str());
  std::map<std::string, int> seen;  // key -> line; the first occurrence wins, as in the data files
  int line = 1;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      if (c == '\n') ++line;
      ++i;
      continue;
    }
    size_t end = i;
    while (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != '\r' && text[end] != '\n') ++end;
    const std::string token = text.substr(i, end - i);
    i = end;
    const size_t eq = token.find('=');
    const char* where = file.path.c_str();
    if (eq == std::string::npos || eq == 0 || eq + 1 == token.size()) {
      log_out("WARNING: %s:%d: '%s' is not key=value, ignored\n", where, line, token.c_str());
      continue;
    }
    const std::string key = token.substr(0, eq), value = token.substr(eq + 1);
    auto first = seen.find(key);
    if (first != seen.end()) {
      log_out("WARNING: %s:%d: %s is set on line %d already, ignored\n", where, line, key.c_str(), first->second);
      continue;
    }
    seen[key] = line;
    if (binding_key(key)) {
      // A joystick input is several words ("joy0 button 1"): the rest of the
      // line up to the next key=value belongs to it.
      std::string input = value;
      while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        size_t word = i;
        while (word < text.size() && (text[word] == ' ' || text[word] == '\t')) ++word;
        size_t word_end = word;
        while (word_end < text.size() && text[word_end] != ' ' && text[word_end] != '\t' && text[word_end] != '\r' &&
               text[word_end] != '\n') {
          ++word_end;
        }
        if (word == word_end || text.substr(word, word_end - word).find('=') != std::string::npos) break;
        input += " " + text.substr(word, word_end - word);
        i = word_end;
      }
      std::string why;
      if (!rebind_player_action(key, input, why)) {
        log_out("WARNING: %s:%d: %s=%s %s\n", where, line, key.c_str(), input.c_str(), why.c_str());
        continue;
      }
      file.kept.emplace_back(key, input);
      continue;
    }
    std::string why;
    if (!apply(key, value, settings, why)) log_out("WARNING: %s:%d: %s %s\n", where, line, token.c_str(), why.c_str());
  }
}

std::string user_settings_text(const user_settings& file, const game_settings& s) {
  std::string text;
  for (const int_setting& setting : int_settings) text += std::string(setting.key) + "=" + std::to_string(s.*setting.field) + "\n";
  text += std::string("mute=") + (s.mute ? "1" : "0") + "\n";
  text += std::string("fullscreen=") + ((s.flags & SDL_FULLSCREEN) ? "1" : "0") + "\n";
  text += std::string("smooth=") + (s.smooth ? "1" : "0") + "\n";
  if (!s.online_address.empty()) text += "online_address=" + s.online_address + "\n";
  for (const auto& kept : file.kept) text += kept.first + "=" + kept.second + "\n";
  return text;
}

bool save_user_settings(const user_settings& file, const game_settings& settings) {
  if (file.path.empty()) return false;
  user_file_target target;
  split_folder(file.path, target.dir, target.name);
  target.replace = true;
  target.keep_out_of = file.data_dir;
  std::string written, error;
  if (!make_folders(target.dir, error) ||
      !write_user_file(target, user_settings_text(file, settings), written, error)) {
    log_out("WARNING: can't save the settings: %s\n", error.c_str());
    return false;
  }
  return true;
}

void save_player_bindings(user_settings& file, const game_settings& settings) {
  std::vector<std::pair<std::string, std::string>> kept;
  for (const auto& k : file.kept) {
    if (!binding_key(k.first)) kept.push_back(k);
  }
  for (int p = 0; p < 2; ++p) {
    const action_bindings defaults = default_action_bindings(p);
    for (int slot = 0; slot < binding_slot_count; ++slot) {
      const std::string now = slot_inputs_text(player_bindings(p), slot);
      if (now == slot_inputs_text(defaults, slot)) continue;
      kept.emplace_back("p" + std::to_string(p + 1) + "_" + binding_slot_name(slot), now);
    }
  }
  file.kept = kept;
  save_user_settings(file, settings);
}

user_settings& run_user_settings() { return the_file; }
game_settings& run_saved_settings() { return the_settings; }

void remember_fullscreen(bool fullscreen) {
  game_settings& s = the_settings;
  if (((s.flags & SDL_FULLSCREEN) != 0) == fullscreen) return;
  s.flags = fullscreen ? (s.flags | SDL_FULLSCREEN) : (s.flags & ~static_cast<uint32_t>(SDL_FULLSCREEN));
  save_user_settings(the_file, s);
}

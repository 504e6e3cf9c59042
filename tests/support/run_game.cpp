#include "support/run_game.h"

#include <cstdlib>
#include <filesystem>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "support/test_env.h"

std::string fight_executable() { return FIGHT_EXE; }

std::string source_path(const std::string& relative) { return std::string(GAME_SOURCE_DIR) + "/" + relative; }

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

namespace {

std::string shell_quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) {
    if (c == '\'') {
      q += "'\\''";
    } else {
      q += c;
    }
  }
  return q + "'";
}

}  // namespace

game_run run_fight(const std::vector<std::string>& args, const std::vector<std::string>& env) {
  std::string dir = make_temp_dir("run");
  std::string command = "env";
  for (const auto& e : env) command += " " + shell_quote(e);
  command += " " + shell_quote(fight_executable());
  for (const auto& a : args) command += " " + shell_quote(a);
  command += " >" + shell_quote(dir + "/out") + " 2>" + shell_quote(dir + "/err") + " </dev/null";
  game_run run;
  int status = std::system(command.c_str());
  run.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = read_file(dir + "/out");
  run.err = read_file(dir + "/err");
  return run;
}

size_t find_after(const std::string& haystack, const std::string& needle, size_t from) {
  if (from == std::string::npos) return std::string::npos;
  return haystack.find(needle, from);
}

running_game start_fight(const std::vector<std::string>& args, const std::vector<std::string>& env) {
  running_game game;
  game.dir = make_temp_dir("running");
  const std::string out = game.dir + "/out", err = game.dir + "/err", exe = fight_executable();
  std::vector<std::string> argv_text = {exe};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argv_text) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    for (const auto& e : env) putenv(const_cast<char*>(e.c_str()));
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    const int in = open("/dev/null", O_RDONLY);
    const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || o < 0 || e < 0) _exit(127);
    dup2(in, 0);
    dup2(o, 1);
    dup2(e, 2);
    execv(exe.c_str(), argv.data());
    _exit(127);
  }
  game.pid = pid;
  return game;
}

bool wait_for_output(const running_game& game, const std::string& needle, double seconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  do {
    if (read_file(game.dir + "/out").find(needle) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  } while (std::chrono::steady_clock::now() < until);
  return false;
}

game_run wait_for_exit(running_game& game, double seconds, bool& ended, double& waited) {
  game_run run;
  ended = false;
  const auto start = std::chrono::steady_clock::now();
  const auto until = start + std::chrono::duration<double>(seconds);
  int status = 0;
  while (game.pid > 0) {
    const pid_t done = waitpid(game.pid, &status, WNOHANG);
    if (done == game.pid) {
      ended = true;
      break;
    }
    if (done < 0 || std::chrono::steady_clock::now() >= until) {
      kill(game.pid, SIGKILL);
      waitpid(game.pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  game.pid = -1;
  run.exit_status = ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = read_file(game.dir + "/out");
  run.err = read_file(game.dir + "/err");
  return run;
}

namespace {

std::string key_of_line(const std::string& line) {
  const size_t start = line.find_first_not_of(" \t");
  if (start == std::string::npos) return "";
  const size_t end = line.find_first_of("= \t", start);
  return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// Rewrites `file` without the lines whose key is one of `keys`.
void drop_keys(const std::filesystem::path& file, const std::vector<std::string>& keys) {
  std::ifstream in(file);
  std::ostringstream kept;
  for (std::string line; std::getline(in, line);) {
    if (std::find(keys.begin(), keys.end(), key_of_line(line)) == keys.end()) kept << line << "\n";
  }
  in.close();
  std::ofstream(file, std::ios::binary | std::ios::trunc) << kept.str();
}

// A copy of `data_dir` without `game_keys` in game.ini and `file_keys` in
// every other .ini file; made once per tag and process, removed at exit.
std::string copy_without(const std::string& data_dir, const std::string& tag,
                         const std::vector<std::string>& game_keys, const std::vector<std::string>& file_keys) {
  namespace fs = std::filesystem;
  static std::map<std::string, std::pair<std::string, std::string>> made;  // tag -> (from, copy)
  if (data_dir.empty()) return "";
  auto it = made.find(tag);
  if (it != made.end() && it->second.first == data_dir) return it->second.second;
  const fs::path copy = fs::temp_directory_path() / ("fight_" + tag + "_" + std::to_string(getpid()));
  std::error_code ec;
  fs::remove_all(copy, ec);
  fs::copy(data_dir, copy, fs::copy_options::recursive, ec);
  if (ec) return "";
  const fs::path settings = copy / "game" / "game.ini";
  if (!file_keys.empty()) {
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(copy)) {
      if (e.is_regular_file() && e.path().extension() == ".ini" && e.path() != settings) drop_keys(e.path(), file_keys);
    }
  }
  drop_keys(settings, game_keys);
  if (made.empty()) {
    std::atexit([] {
      std::error_code ignored;
      for (const auto& entry : made) std::filesystem::remove_all(entry.second.second, ignored);
    });
  }
  made[tag] = {data_dir, copy.string()};
  return copy.string();
}

}  // namespace

std::string without_match_keys(const std::string& data_dir) {
  return copy_without(data_dir, "no_matches", {"rounds", "round_time", "difficulty", "main_menu"}, {});
}

std::string without_new_keys(const std::string& data_dir) {
  return copy_without(data_dir, "no_new_keys",
                      {"rounds", "round_time", "difficulty", "push_apart", "hide_timing_figure", "hide_hit_boxes", "shot_name_height", "music", "main_menu", "menu_backdrop", "arcade_ending"},
                      {"knocked_out", "music"});
}

std::string without_main_menu(const std::string& data_dir) {
  return copy_without(data_dir, "no_main_menu", {"main_menu"}, {});
}

std::string bundled_data_dir() {
  const char* env = std::getenv("GAME_DATA_DIR");
  std::filesystem::path dir = env && *env ? std::filesystem::path(env)
                                          : std::filesystem::path(fight_executable()).parent_path().parent_path() / "data";
  return std::filesystem::exists(dir / "game" / "game.ini") ? dir.string() : "";
}

namespace {

// Removes the combo of `type` from a character file's lines, renumbering
// the combos after it, and its move 12.
std::string without_special(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  int dropped = -1;
  for (const std::string& line : lines) {
    int index = 0, type = 0;
    char tail = 0;
    if (std::sscanf(line.c_str(), "combo%dmove=%d%c", &index, &type, &tail) == 2 && type == 2) dropped = index;
  }
  std::ostringstream out;
  for (const std::string& line : lines) {
    const std::string key = key_of_line(line);
    if (key == "move12") continue;
    int index = -1, used = 0;
    if (dropped >= 0 && std::sscanf(key.c_str(), "combo%d%n", &index, &used) == 1 && used > 5) {
      if (index == dropped) continue;
      if (index > dropped) {
        out << "combo" << index - 1 << line.substr(line.find(key) + used) << "\n";
        continue;
      }
    }
    if (dropped >= 0 && key == "combos") {
      out << "combos=" << std::atoi(line.c_str() + line.find('=') + 1) - 1 << "\n";
      continue;
    }
    out << line << "\n";
  }
  return out.str();
}

bool write_text(const std::filesystem::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out);
}

}  // namespace

bool write_hand_to_hand_tree(const std::string& data_dir, const std::string& out_dir) {
  namespace fs = std::filesystem;
  if (data_dir.empty() || !fs::exists(fs::path(data_dir) / "game" / "game.ini")) return false;
  std::error_code ec;
  fs::create_directories(out_dir, ec);
  fs::copy(data_dir, out_dir, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
  if (ec) return false;
  const fs::path fighters = fs::path(out_dir) / "game" / "fighter";
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(fighters)) {
    if (!e.is_regular_file() || e.path().extension() != ".ini") continue;
    std::istringstream in(read_file(e.path().string()));
    std::string text;
    bool changed = false;
    for (std::string line; std::getline(in, line);) {
      const std::string key = key_of_line(line);
      if (key.size() > 4 && key.rfind("fire", 0) == 0 && key.find_first_not_of("0123456789", 4) == std::string::npos) {
        line = key + "=0";
        changed = true;
      }
      text += line + "\n";
    }
    if (e.path().filename() == "kastrell_char.ini") {
      text = without_special(text);
      changed = true;
    }
    if (changed && !write_text(e.path(), text)) return false;
  }
  return true;
}

std::string hand_to_hand_tree(const std::string& data_dir) {
  static std::string made;
  if (data_dir.empty()) return "";
  if (made.empty()) {
    const std::string dir = (std::filesystem::temp_directory_path() / ("fight_hand_to_hand_" + std::to_string(getpid()))).string();
    if (!write_hand_to_hand_tree(data_dir, dir)) return "";
    made = dir;
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(made, ignored);
    });
  }
  return made;
}

#include "support/run_game.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
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

// Runs the game executable as a child process for end-to-end tests.
#pragma once
#include <string>
#include <vector>

struct game_run {
  int exit_status = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

// `env` entries are NAME=value pairs added to the child's environment.
game_run run_fight(const std::vector<std::string>& args, const std::vector<std::string>& env);

// Path of the built game executable.
std::string fight_executable();

// Path of a file of the source tree, e.g. "README.md".
std::string source_path(const std::string& relative);

// Contents of a file; empty when it can't be read.
std::string read_file(const std::string& path);

// Index of `needle` in `haystack` at or after `from`; npos when absent.
// Lets tests check that log lines appear in order.
size_t find_after(const std::string& haystack, const std::string& needle, size_t from);

// The command-line options as one table: --help prints it and the manual page
// is made from it, so the two never tell different stories.
#pragma once
#include <string>
#include <vector>

struct option_doc {
  const char* name;      // "--data-dir"
  const char* argument;  // "DIR", or "" for a switch
  const char* text;      // what it does; '\n' separates the lines --help prints
};

const std::vector<option_doc>& option_docs();

// Where the game looks for its data when --data-dir is not given, one place a line.
extern const char* const data_search_text;

// The whole --help text for the program named `program`.
std::string usage_text(const std::string& program);

// The game's version, e.g. "1.0.0".
extern const char* const game_version;

// Where the game's data tree is, when the command line does not say: the
// first of $VELTMOORE_BRAWL_DATA, the current directory when it holds
// game/game.ini, and the tree installed beside the executable
// (PREFIX/bin/veltmoore-brawl reads PREFIX/share/veltmoore-brawl/data), so a
// prefix moved elsewhere as a whole still finds its data.
#pragma once
#include <string>
#include <vector>

struct data_location {
  std::string dir;                 // empty when nothing was found
  bool installed = false;          // the tree beside the executable: never written to
  std::vector<std::string> tried;  // every place looked at, in order, for the error
};

// `env` is $VELTMOORE_BRAWL_DATA (null: not set), `cwd` the current directory
// and `executable` the absolute path of the running program.
data_location find_data(const char* env, const std::string& cwd, const std::string& executable);

// The absolute path of the running program (/proc/self/exe); empty when unknown.
std::string executable_path();

// The one line printed when no data was found, naming every place tried.
std::string no_data_message(const data_location& where);

// The player's own folders (XDG base directories): settings under
// $XDG_CONFIG_HOME (~/.config when unset), replays and screenshots under
// $XDG_DATA_HOME (~/.local/share when unset), each in a veltmoore-brawl folder.
#pragma once
#include <string>

// "$XDG_CONFIG_HOME/veltmoore-brawl", or "$HOME/.config/veltmoore-brawl";
// empty when neither variable gives an absolute path.
std::string user_config_dir();
// "$XDG_DATA_HOME/veltmoore-brawl", or "$HOME/.local/share/veltmoore-brawl"; empty as above.
std::string user_data_dir();

// Makes `dir` and every missing folder above it (mode 0755). True when it is
// a folder now; false with `error` saying which folder failed and why.
bool make_folders(const std::string& dir, std::string& error);

// Where a replay saved with F9 goes: replays/YYYYMMDD-HHMMSS.replay (local
// time; -2, -3, ... when that name is taken) in the player's data folder
// (`user_dir`, made when missing); when that can't be written, in the data
// directory's parent, else in the player's home; never inside the data
// directory, however the paths lead there, and never through a link named
// replays. Written whole or not at all (core/user_file_write.h).
#pragma once
#include <ctime>
#include <string>

// `data_dir` is the absolute path of the data directory, `home` $HOME (null or
// empty: none). `beside_data` false skips the data directory's parent (an
// installed tree, which the game never writes into). True with `written` set to the file's path; false with `error`
// naming every place tried and why it failed.
bool save_replay_text(const std::string& text, const std::string& data_dir, const char* home, std::time_t when,
                      std::string& written, std::string& error, bool beside_data = true,
                      const std::string& user_dir = "");

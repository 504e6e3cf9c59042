// Where a replay saved with F9 goes: replays/YYYYMMDD-HHMMSS.replay (local
// time) in the data directory's parent, or in the player's home when that
// can't be written; never inside the data directory.
#pragma once
#include <ctime>
#include <string>

// `data_dir` is the absolute path of the data directory, `home` $HOME (null or
// empty: none). `beside_data` false skips the data directory's parent (an
// installed tree, which the game never writes into). True with `written` set to the file's path; false with `error`
// naming every place tried and why it failed.
bool save_replay_text(const std::string& text, const std::string& data_dir, const char* home, std::time_t when,
                      std::string& written, std::string& error, bool beside_data = true);

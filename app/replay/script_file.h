// Reading the file of --script or --replay: once, capped in size, checked
// whole before anything starts. A file whose first line says "replay" is read
// as a replay (--script then plays its keys); any other as a plain key script.
#pragma once
#include <string>

#include "app/replay/replay_format.h"

// Far above any real script or replay (a replay saved after an hour of play
// holds about 5 MB), far below what would exhaust memory.
constexpr long long max_script_file_bytes = 32LL << 20;

enum class script_kind { key_script, replay };

// `kind` is what the option asks for (a plain key script is refused as a
// replay). False with `error` naming the file, and the line when one is wrong.
bool load_script_file(const std::string& file, script_kind kind, replay_file& out, std::string& error,
                      long long max_bytes = max_script_file_bytes);

// The same for a text already read; `file` only names it in messages.
bool parse_script_file(const std::string& file, const std::string& text, script_kind kind, replay_file& out,
                       std::string& error);

// Reading a whole file a player hands the game (a key script, a replay): one
// read of one open file, refused when it is not a regular file or larger than
// a cap, and when its size changes while it is read. Nothing throws.
#pragma once
#include <string>

// True with the file's bytes in `text`; false with `error` saying why (without
// the file's name: the caller says what the file was for).
bool read_bounded_file(const std::string& path, long long max_bytes, std::string& text, std::string& error);

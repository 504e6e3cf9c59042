// The keys the game reads from each kind of key=value file, and the checks on
// a file's keys: one the game never reads (a typo, with the nearest known key
// suggested), one repeated (the first wins), and a last token dropped because
// no line break follows it.
#pragma once
#include <string>

#include "app/check/data_check.h"

class config_file;

// True when `key` is read from files of this kind ("%d" in a known key stands
// for a number written as the game writes it: 0, 7, 12, never 07).
bool is_known_key(const char* key, data_file_kind kind);
// The known key of this kind nearest to `key` by a few typed letters, with the
// numbers of `key` filled in; "" when none is near.
std::string nearest_known_key(const char* key, data_file_kind kind);

void check_keys(data_checker& check, const config_file& config, const char* path, data_file_kind kind);

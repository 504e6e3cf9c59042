// `--view-file` shows one fighter: a name that is no character file at all (a
// picture, the settings, an animation) is refused before any window opens,
// rather than shown as an empty fighter "with 0 problems".
#pragma once
#include <string>

// Why the data file `name` is not a character file; "" when it is one: a
// key=value file the game may open that sets at least one key only character
// files have.
std::string why_not_a_character_file(const std::string& name);

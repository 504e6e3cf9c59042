// The data checker's combo checks on a character file: step names, and combos
// that can never be entered at all.
#pragma once

class config_file;
class data_checker;

// Every combo of the character file `cfg` (at `path`): an error for a missing
// or unknown step; a warning for a combo that can never start, because its
// first step is `left` (down released and left pressed at once, which one key
// change never is) or because no step of it is left to bind.
void check_combos(data_checker& check, const config_file& cfg, const char* path);

// The data checker's combo checks on a character file: step names, combos
// that can never be entered at all, and combos that get in each other's way.
#pragma once

class config_file;
class data_checker;

// Every combo of the character file `cfg` (at `path`): an error for a missing
// or unknown step; a warning for a combo that can never start, because its
// first step is `left` (down released and left pressed at once, which one key
// change never is) or because no step of it is left to bind; a warning for
// two combos with the same steps (one entry fires both, the second replacing
// the first) and for a combo whose steps begin another's (entering the longer
// one fires the shorter too).
void check_combos(data_checker& check, const config_file& cfg, const char* path);

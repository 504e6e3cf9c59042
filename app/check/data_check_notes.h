// `--check --notes`: the pictures, sounds and animation files in the data
// directory that nothing the game loads refers to.
#pragma once

class data_checker;

// One note per such file, at line 0, named as the data would name it
// (backslashes). Call after every other check, so all references are known.
void note_unreferenced_files(data_checker& check);

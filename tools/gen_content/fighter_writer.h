// Writes one fighter: its pictures, animation files and character file.
#pragma once
#include <string>

#include "datafile.h"
#include "roster.h"

std::string char_file_name(const FighterDef& f);  // game\fighter\<name>_char.ini
std::string sound_file_name(const std::string& stem);  // rsrc\sfx\<stem>.wav
void write_fighter(DataTree& tree, const FighterDef& f);

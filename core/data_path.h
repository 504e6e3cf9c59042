// Data names are written with backslashes (game\game.ini), in the data files and
// in the program. They stay that way in log lines and cache keys; this is the one
// place where they become host paths, just before a file is opened.
#pragma once
#include <SDL.h>

#include <cstdio>
#include <string>

std::string host_path(const char* data_name);
inline std::string host_path(const std::string& data_name) { return host_path(data_name.c_str()); }

FILE* open_data_file(const char* data_name, const char* mode);
SDL_RWops* open_data_rw(const char* data_name, const char* mode);

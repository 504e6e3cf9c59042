// Data names are written with backslashes (game\game.ini), in the data files and
// in the program. They stay that way in log lines; this is the one place where
// they become host paths, just before a file is opened, and where a name that
// must not be opened is refused: anything but a regular file (a directory, a
// device, a pipe, whose reads may never end), a file too big for its kind, and,
// once the game has entered its data directory, a path leading out of it.
#pragma once
#include <SDL.h>

#include <cstdio>
#include <string>

enum class data_kind { text, picture, sound, font };

// Largest data file of each kind, in bytes: far above any real content, far
// below what a loader could turn into an exhausted memory.
constexpr long long max_text_file_bytes = 1LL << 20;       // key=value files
constexpr long long max_picture_file_bytes = 16LL << 20;   // PNG, BMP, ...
constexpr long long max_sound_file_bytes = 16LL << 20;     // WAV
constexpr long long max_font_file_bytes = 16LL << 20;      // TTF
long long max_data_file_bytes(data_kind kind);

// From now on data names must stay inside the current directory: no absolute
// names, no ".." climbing above it, no symbolic link leading out of it. The
// game and --check call this once they are in the data directory; until then
// (unit tests loading from temporary directories) any path may be opened.
void confine_data_to_current_directory();
void stop_confining_data();

// The name with '/' separators, without "." and empty components, each ".."
// folded into the component before it (kept only where nothing is left to
// fold). Every spelling of one file gives the same text: the caches key on it.
std::string normal_data_name(const char* name);

// Backslashes turned into slashes, nothing else changed.
std::string host_path(const char* data_name);
inline std::string host_path(const std::string& data_name) { return host_path(data_name.c_str()); }

struct data_file_status {
  std::string host;     // the host path to open
  std::string refusal;  // why the file must not be opened; empty when it may
                        // be (or does not exist: its opener reports that)
};
// Inspects the file without opening it and prints nothing.
data_file_status inspect_data_file(const char* name, data_kind kind);

// As inspect_data_file, but a refusal is printed as one ERROR line naming the
// data file and key that named the file (when known, see below) and set as
// SDL's error. Returns the host path to open, "" when refused.
std::string checked_data_path(const char* name, data_kind kind);

// fopen of the host path, unchecked: for tools that write data files.
FILE* open_data_file(const char* data_name, const char* mode);

// SDL_RWFromFile of the checked path; null when refused or missing. `report`
// false skips the ERROR line (for a peek whose caller opens the file again).
SDL_RWops* open_data_rw(const char* name, const char* mode, data_kind kind, bool report = true);

// Who named a file. Loaders read a file name with config_file::get_string and
// open it at once; the reader notes its last few string lookups here so that a
// refusal can name the data file and the key. `owner` forgets its notes when
// it is destroyed (the texts point into it).
struct data_reference {
  const void* owner = nullptr;
  const char* file = nullptr;
  const char* key = nullptr;
  const char* value = nullptr;
};
void note_data_reference(const void* owner, const char* file, const char* key, const char* value);
void forget_data_references(const void* owner);
// The newest noted lookup whose value is `name`; null when there is none.
const data_reference* find_data_reference(const char* name);

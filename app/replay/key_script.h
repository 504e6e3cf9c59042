// Key scripts: lines of "FRAME KEY down|up" ('#' starts a comment; KEY is an
// SDL key name such as right, i, escape, space, return, or a number; "quit
// down" closes the window, as SDL reports it). Frames never go backwards. A
// replay holds the same key lines among its others.
#pragma once
#include <string>
#include <string_view>
#include <vector>

constexpr int script_quit_key = 0;  // KEY "quit": no key has this code
constexpr long max_script_frame = 2147483647L;  // about a year at 60 frames a second

struct key_script_event {
  long frame;  // applied before this frame is drawn
  int key;     // SDL key code
  int down;    // 1 pressed, 0 released
};

int key_code_for_name(std::string_view name);  // -1 when unknown
// How a key is written in a script: its SDL name when that reads back as one
// field, otherwise its number.
std::string key_name_for_script(int key);

// The rest of a key line after its frame: "KEY down|up" and nothing more.
// False with `error` (without the line number) when malformed.
bool parse_key_fields(std::string_view key, std::string_view action, bool more, long frame,
                      key_script_event& out);

// A plain key script (no replay lines). False with `error` naming the line
// ("line N: ...") on a malformed script.
bool parse_key_script(std::string_view text, std::vector<key_script_event>& events, std::string& error);

// Scripted, repeatable runs: plays a key script into the keyboard seam, drives
// the clock by frames, saves screenshots and stops after a number of frames.
// Frames are counted by presents: frame 0 is the first picture shown.
#pragma once
#include <string>
#include <vector>

#include "app/run_options.h"

constexpr int script_quit_key = 0;  // KEY "quit": no key has this code

struct key_script_event {
  long frame;  // applied before this frame is drawn
  int key;     // SDL key code
  int down;    // 1 pressed, 0 released
};

// Parses lines of "FRAME KEY down|up" ('#' starts a comment; KEY is an SDL key
// name such as right, i, escape, space, return, or a number; "quit down"
// closes the window, as SDL reports it). False with `error` naming the line
// ("line N: ...") on a malformed script.
bool parse_key_script(const std::string& text, std::vector<key_script_event>& events, std::string& error);
int key_code_for_name(const std::string& name);  // -1 when unknown

// Reads and parses the script file `file`. False with `error` naming the file
// (and the line, when one is malformed) when it can't be read or parsed.
bool load_key_script(const std::string& file, std::vector<key_script_event>& events, std::string& error);

// Installs the driver for this run (hooks into video's present). `fps` sets the
// scripted clock's step. Returns false with `error` when the script can't be read.
// With GAME_FIGHT_TRACE set, each scripted key change is traced on standard
// error together with where the human's fighter stands and what it does.
bool install_script_driver(const run_options& options, int fps, std::string& error);

// Frames presented so far in this run.
long presented_frames();

// Saves the current frame (before it is shown) as a PNG. In software mode the
// screen surface is read; in OpenGL mode the back buffer.
bool save_screenshot(const std::string& host_file);

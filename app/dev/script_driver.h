// Scripted, repeatable runs: plays a key script into the keyboard seam, drives
// the clock by frames, saves screenshots and stops after a number of frames.
// Frames are counted by presents: frame 0 is the first picture shown.
#pragma once
#include <string>
#include <vector>

#include "app/replay/key_script.h"
#include "app/run_options.h"

// Installs the driver for this run (hooks into video's present). `fps` sets the
// scripted clock's step; the keys are those of options.input (read by
// parse_run_options). Returns false with `error` when there are none to play.
// With GAME_FIGHT_TRACE set, each scripted key change is traced on standard
// error together with where the human's fighter stands and what it does.
bool install_script_driver(const run_options& options, int fps, std::string& error);

// Frames presented so far in this run.
long presented_frames();

// Saves the current frame (before it is shown) as a PNG. In software mode the
// screen surface is read; in OpenGL mode the back buffer.
bool save_screenshot(const std::string& host_file);

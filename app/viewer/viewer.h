// The fighter viewer for content authors (--view N, --view-file FILE): one
// fighter of the roster, or any character file, on the stage's floor, with
// keys to step through its postures and moves, hold and step frames, mirror,
// zoom, recolour, mute, and reload its files from disk.
#pragma once
#include <string>

#include "app/run_options.h"

// The character file the options name: roster position --view N, or the
// data name given to --view-file.
std::string viewer_char_file(const run_options& options);

// Runs the viewer until Escape or a quit request. Returns the exit status:
// 0; 1 when no window can be opened; 2 (before any window) when --view-file
// names no character file.
int run_viewer(const run_options& options);

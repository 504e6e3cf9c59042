// The process set-up every fuzz target shares: a headless video mode and a
// scratch directory that the fuzzed bytes are written into as data files.
#pragma once
#include <cstddef>
#include <cstdint>

// Once per process: dummy drivers, a 640 x 480 software mode, the mixer, and
// the working directory set to a scratch directory in which "game" and "rsrc"
// point at the bundled data (FUZZ_DATA_DIR, or the build's data tree) so the
// files a fuzzed file names can be found.
void fuzz_start();

// Writes `size` bytes to the data name `name` (backslashes, relative to the
// scratch directory, e.g. "fz\\anim.ini") and returns the name.
const char* fuzz_write(const char* name, const uint8_t* data, size_t size);

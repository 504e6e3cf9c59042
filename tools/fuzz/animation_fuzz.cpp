// Fuzzes the animation loader and playback; pictures and sounds the fuzzed
// file names come from the bundled data.
#include "fuzz_drive.h"
#include "fuzz_env.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  drive_animation(fuzz_write("fz\\anim.ini", data, size));
  return 0;
}

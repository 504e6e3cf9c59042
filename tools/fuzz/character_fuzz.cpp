// Fuzzes the character file loader (and the animation files and pictures a
// fuzzed file names from the bundled data).
#include "fuzz_drive.h"
#include "fuzz_env.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  drive_character(fuzz_write("fz\\char.ini", data, size));
  return 0;
}

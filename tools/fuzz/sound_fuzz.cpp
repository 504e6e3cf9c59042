// Fuzzes sound effect loading: whatever the mixer would recognise (WAV, AIFF,
// VOC, Ogg...) arrives through the same data file.
#include "fuzz_drive.h"
#include "fuzz_env.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  drive_sound(fuzz_write("fz\\sound.wav", data, size));
  return 0;
}

// Fuzzes picture loading into an image object and the operations that read
// its pixels (recolouring, mirroring, copying, drawing plain and zoomed).
#include "fuzz_drive.h"
#include "fuzz_env.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  drive_picture(fuzz_write("fz\\picture.png", data, size));
  return 0;
}

// Fuzzes the key script and replay reader: any bytes are refused with one
// short printable message or read into what playback can rely on.
#include <cstdlib>

#include "fuzz_drive.h"
#include "fuzz_env.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!drive_script(fuzz_write("fz/script.replay", data, size))) std::abort();
  return 0;
}

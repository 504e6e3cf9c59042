// Fuzzes the key=value reader: any bytes must give entries whose texts end
// inside their buffers, and every key must answer its lookups.
#include <cstdlib>

#include "fuzz_drive.h"
#include "fuzz_env.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!drive_config_file(fuzz_write("fz\\config.ini", data, size))) std::abort();
  return 0;
}

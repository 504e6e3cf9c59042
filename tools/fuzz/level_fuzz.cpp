// Fuzzes the level loader with its three kinds of file at once: an input is
// the level file, the background-set file and a sortie file separated by lines
// "#--", written as fz\level.ini, fz\bgset.ini and fz\sortie.ini, which the
// level file may name.
#include <string>

#include "fuzz_drive.h"
#include "fuzz_env.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string parts[3];
  fuzz_split(reinterpret_cast<const char*>(data), size, parts, 3);
  const char* names[3] = {"fz\\level.ini", "fz\\bgset.ini", "fz\\sortie.ini"};
  for (int i = 0; i < 3; ++i) {
    fuzz_write(names[i], reinterpret_cast<const uint8_t*>(parts[i].data()), parts[i].size());
  }
  drive_level(names[0]);
  return 0;
}

// gen_content ROOT: writes the game's bundled pictures, sounds and data files
// under ROOT (for example build/data). The output is the same on every run.
// gen_content --icons DIR: writes the desktop icons under DIR/hicolor.
#include <chrono>
#include <cstdio>
#include <cstring>

#include "generate.h"
#include "icon_art.h"

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--icons") == 0) {
    const std::vector<std::string> errors = write_icons(argv[2]);
    for (const std::string& e : errors) std::fprintf(stderr, "gen_content: error: %s\n", e.c_str());
    return errors.empty() ? 0 : 1;
  }
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_ROOT\n       %s --icons DIR\n", argv[0], argv[0]);
    return 2;
  }
  auto start = std::chrono::steady_clock::now();
  GenerateResult r = generate(argv[1]);
  for (const std::string& e : r.errors) std::fprintf(stderr, "gen_content: error: %s\n", e.c_str());
  if (!r.errors.empty()) return 1;
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("gen_content: wrote %d files under %s in %.0f ms\n", r.files, argv[1], ms);
  return 0;
}

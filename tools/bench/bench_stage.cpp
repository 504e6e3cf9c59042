#include "bench_stage.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "core/png_write.h"

namespace {

// Rows above `keyed_above` are pure green (transparent); the rest a pattern
// that changes along x so every window differs.
void write_layer(const std::string& path, int w, int h, int keyed_above, int tint) {
  std::vector<uint8_t> px(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &px[(static_cast<size_t>(y) * w + x) * 4];
      bool keyed = y < keyed_above + (x * 7 % 40);
      p[0] = keyed ? 0 : static_cast<uint8_t>((x * 3 + tint) & 0xFF);
      p[1] = keyed ? 255 : static_cast<uint8_t>((y + tint) & 0x7F);
      p[2] = keyed ? 0 : static_cast<uint8_t>((x ^ y) & 0xFF);
      p[3] = 255;
    }
  }
  write_png(path, px.data(), w, h, w * 4, 4);
}

void write_text(const std::string& path, const std::string& text) {
  FILE* f = std::fopen(path.c_str(), "w");
  if (!f) return;
  std::fputs(text.c_str(), f);
  std::fclose(f);
}

}  // namespace

bench_stage_files write_bench_stage() {
  namespace fs = std::filesystem;
  bench_stage_files files;
  files.dir = (fs::temp_directory_path() / ("stage_bench_" + std::to_string(::getpid()))).string();
  fs::create_directories(files.dir);
  const char* names[5] = {"ground.png", "far.png", "near.png", "upper.png", "floor.png"};
  const int heights[5] = {480, 480, 480, 240, 100};
  const int keyed[5] = {-40, 200, 330, -40, -40};
  for (int i = 0; i < 5; ++i) {
    files.pictures[i] = files.dir + "/" + names[i];
    write_layer(files.pictures[i], 1600, heights[i], keyed[i], i * 40);
  }
  std::string set = "width=1600 images=5\n";
  for (int i = 0; i < 5; ++i) set += "image" + std::to_string(i) + "=" + files.pictures[i] + "\n";
  write_text(files.dir + "/bgset.ini", set);
  write_text(files.dir + "/stage.ini",
             "bgset=" + files.dir + "/bgset.ini\nlength=2\npart0=0\npart0parallax=2\n"
             "part0parallax0=1\npart0parallax1=2\npart1=3\nfloor=4\nscale=1.0\n");
  files.level_file = files.dir + "/stage.ini";
  return files;
}

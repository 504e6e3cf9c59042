// The benchmark's stage: the shape of the bundled one (640 x 480 screen, five
// 1600-wide pictures, a ground part with two parallax layers and a floor, an
// upper part), generated as files in a temporary directory.
#pragma once
#include <string>

struct bench_stage_files {
  std::string dir;         // host directory holding everything
  std::string level_file;  // data name of the level file
  std::string pictures[5]; // ground, far layer, near layer, upper piece, floor
};

bench_stage_files write_bench_stage();

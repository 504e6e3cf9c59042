// Enters a directory and confines data names to it for the life of the object,
// as the game does with its data directory.
#pragma once
#include <filesystem>
#include <string>

#include "core/data_path.h"

struct confined_in {
  std::string previous;
  explicit confined_in(const std::string& dir) {
    previous = std::filesystem::current_path().string();
    std::filesystem::current_path(dir);
    confine_data_to_current_directory();
  }
  ~confined_in() {
    stop_confining_data();
    std::filesystem::current_path(previous);
  }
};

// Writes the whole bundled data tree under `root`.
#pragma once
#include <string>
#include <vector>

struct GenerateResult {
  int files = 0;
  std::vector<std::string> errors;
};

GenerateResult generate(const std::string& root);

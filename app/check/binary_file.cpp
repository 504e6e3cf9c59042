#include "app/check/binary_file.h"

#include <cstdio>
#include <string>

#include "core/data_path.h"

const char* binary_content_of(const char* data_name) {
  FILE* f = std::fopen(host_path(data_name).c_str(), "rb");
  if (!f) return nullptr;
  char head[512];
  const size_t n = std::fread(head, 1, sizeof head, f);
  std::fclose(f);
  const std::string start(head, n);
  auto holds = [&start](size_t at, const std::string& text) {
    return start.size() >= at && start.compare(at, text.size(), text) == 0;
  };
  if (holds(0, "\x89PNG\r\n\x1a\n")) return "a PNG picture";
  if (holds(0, "RIFF") && holds(8, "WAVE")) return "a WAV sound";
  // Text never holds a NUL byte; pictures, sounds and fonts do early on.
  if (start.find('\0') == std::string::npos) return nullptr;
  return holds(0, "BM") ? "a BMP picture" : "binary data";
}

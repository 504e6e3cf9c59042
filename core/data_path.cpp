#include "core/data_path.h"

std::string host_path(const char* data_name) {
  std::string path = data_name ? data_name : "";
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

FILE* open_data_file(const char* data_name, const char* mode) {
  return std::fopen(host_path(data_name).c_str(), mode);
}

SDL_RWops* open_data_rw(const char* data_name, const char* mode) {
  return SDL_RWFromFile(host_path(data_name).c_str(), mode);
}

#include "net/data_hashes.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

namespace fs = std::filesystem;

namespace {

uint64_t hash_file(const fs::path& path) {
  uint64_t h = 1469598103934665603ull;  // FNV-1a, 64 bits
  std::ifstream in(path, std::ios::binary);
  char buffer[65536];
  while (in) {
    in.read(buffer, sizeof buffer);
    for (std::streamsize i = 0; i < in.gcount(); ++i) {
      h ^= static_cast<unsigned char>(buffer[i]);
      h *= 1099511628211ull;
    }
  }
  return h;
}

}  // namespace

std::vector<net_file_hash> hash_data_files(const std::string& data_dir) {
  std::vector<net_file_hash> out;
  for (const char* top : {"game", "rsrc"}) {
    std::error_code ec;
    fs::path root = fs::path(data_dir) / top;
    if (!fs::is_directory(root, ec)) continue;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
      if (!it->is_regular_file(ec) || it->is_symlink(ec)) continue;
      std::string name = fs::relative(it->path(), data_dir, ec).generic_string();
      if (ec || name.size() > net_max_name) continue;
      std::replace(name.begin(), name.end(), '/', '\\');
      out.push_back(net_file_hash{name, hash_file(it->path())});
    }
  }
  std::sort(out.begin(), out.end(), [](const net_file_hash& a, const net_file_hash& b) { return a.name < b.name; });
  if (out.size() > net_max_files) out.resize(net_max_files);
  return out;
}

std::string first_differing_file(const std::vector<net_file_hash>& host, const std::vector<net_file_hash>& guest) {
  std::map<std::string, uint64_t> theirs;
  for (const net_file_hash& f : guest) theirs.emplace(f.name, f.hash);
  for (const net_file_hash& f : host) {
    auto it = theirs.find(f.name);
    if (it == theirs.end() || it->second != f.hash) return f.name;
    theirs.erase(it);
  }
  for (const net_file_hash& f : guest) {
    if (theirs.count(f.name)) return f.name;
  }
  return std::string();
}

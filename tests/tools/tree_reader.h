// Helpers for reading back a generated data tree: running the generator,
// key=value files read by the game's rules, PNG decoding, file checksums.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The tree the tests read: the one named by GEN_CONTENT_TREE (written by the
// ctest fixture), else one generated once per process. Empty on failure.
std::string shared_tree();
// Runs gen_content into a fresh temporary directory and returns it.
std::string generate_into_new_dir(const std::string& tag);

// Key=value file as the game reads it: whitespace-separated tokens, a token
// counts only when whitespace follows it, the first occurrence of a key wins.
struct DataFile {
  bool opened = false;
  std::map<std::string, std::string> values;
  bool has(const std::string& k) const { return values.count(k) != 0; }
  std::string str(const std::string& k) const;
  int num(const std::string& k) const;
  double real(const std::string& k) const;
};
DataFile read_data_file(const std::string& root, const std::string& game_name);
// game\x\y.png -> ROOT/game/x/y.png
std::string on_disk(const std::string& root, const std::string& game_name);
bool exists(const std::string& root, const std::string& game_name);

struct Picture {
  int w = 0, h = 0;
  std::vector<uint8_t> rgba;
  bool ok() const { return w > 0; }
  const uint8_t* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * w + x) * 4]; }
};
Picture read_png(const std::string& host_path);

// Relative file paths under root (sorted) with a 64-bit FNV-1a hash of each.
std::map<std::string, uint64_t> checksum_tree(const std::string& root);
std::vector<uint8_t> read_bytes(const std::string& host_path);

extern const char* const kFighters[4];

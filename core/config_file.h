// Reader for the game's key=value data files: whitespace-separated tokens,
// first occurrence of a key wins, no sections, comments or quoting.
//
// Memory is the file's own size and a little: each load keeps one block of
// "key\0value\0" texts, and every entry costs two indices on top of its text.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class config_file {
 public:
  static constexpr int key_size = 255;    // 254 characters + terminator
  static constexpr int value_size = 257;  // at most 255 characters are kept
  static constexpr int max_token = 515;   // longer tokens are cut to this length

  config_file() = default;
  ~config_file();
  config_file(const config_file&) = delete;
  config_file& operator=(const config_file&) = delete;

  // Appends the entries of the file `path` (a data name); 1 when the file was
  // opened, 0 when it could not be (missing, refused, unreadable).
  int load(const char* path);

  int has_key(const char* key) const;
  int get_int(const char* key) const;         // 0 when absent
  double get_float(const char* key) const;    // 0.0 when absent
  // "" when absent, never null; the text lives as long as this object.
  const char* get_string(const char* key) const;

  // Every entry in file order, duplicates included.
  int entry_count() const { return static_cast<int>(keys_.size()); }
  const char* key_at(int i) const { return keys_[i]; }
  const char* value_at(int i) const;
  // The line (from 1) where entry i's token starts in its file.
  int line_at(int i) const { return static_cast<int>(lines_[i]); }
  // The line of the first entry with this key (the one lookups answer); 0 when absent.
  int line_of(const char* key) const;

  // The token the last load dropped because the file ended right after it,
  // with no whitespace to close it ("" when none), and its line.
  const char* dropped_token() const { return dropped_.c_str(); }
  int dropped_line() const { return dropped_line_; }

 private:
  // The texts of one load: the path, then "key\0value\0" per entry.
  struct block {
    std::unique_ptr<char[]> text;
    size_t size = 0;
  };

  int find_entry(const char* key) const;   // the first matching entry, or -1
  const char* find(const char* key) const;  // the key text of the first match
  const char* file_of(const char* key_text) const;
  void parse(const char* data, size_t n, const char* path);

  std::vector<block> blocks_;
  std::vector<const char*> keys_;  // entry -> its key text (its value follows)
  std::vector<uint32_t> by_key_;   // entries ordered by key, then by position
  std::vector<uint32_t> lines_;    // entry -> the line its token starts on
  std::string dropped_;
  int dropped_line_ = 0;
};

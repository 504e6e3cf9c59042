// Reader for the game's key=value data files: whitespace-separated tokens,
// first occurrence of a key wins, no sections, comments or quoting.
#pragma once
#include <memory>

class config_file {
 public:
  static constexpr int key_size = 255;    // 254 characters + terminator
  static constexpr int value_size = 257;  // at most 255 characters are kept
  static constexpr int max_token = 515;   // longer tokens are cut to this length

  struct entry {
    char key[key_size];
    char value[value_size];
    entry* next;
  };

  config_file() = default;
  ~config_file();
  config_file(const config_file&) = delete;
  config_file& operator=(const config_file&) = delete;

  // Appends the entries of the file `path` (a data name); 1 when the file was
  // opened, 0 when it could not be.
  int load(const char* path);

  int has_key(const char* key) const;
  int get_int(const char* key) const;         // 0 when absent
  double get_float(const char* key) const;    // 0.0 when absent
  const char* get_string(const char* key) const;  // "" when absent, never null

  const entry* first() const { return first_; }
  int entry_count() const;

 private:
  const entry* find(const char* key) const;
  void append(const char* token);

  entry* first_ = nullptr;
  entry* last_ = nullptr;
};

// Output side of the generator: the data tree on disk and the key=value files.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class Canvas;

// Game names use backslashes (game\game.ini); on disk they are forward-slash
// paths under the root.
std::string host_path(const std::string& root, const std::string& game_name);

// An ordered key=value file: one token per line, every line ends in a newline
// so the last token is read too.
class KeyValues {
 public:
  KeyValues& add(const std::string& key, const std::string& value);
  KeyValues& add(const std::string& key, int value);
  KeyValues& add(const std::string& key, double value);
  KeyValues& add(const std::string& key, const char* value) { return add(key, std::string(value)); }
  std::string text() const;

 private:
  std::vector<std::pair<std::string, std::string>> entries_;
};

// Formats "combo%dmove%d"-style keys.
std::string key(const char* fmt, int a);
std::string key(const char* fmt, int a, int b);

class DataTree {
 public:
  explicit DataTree(std::string root);
  // Each writer returns false (and records the error) when the file cannot be written.
  bool write(const std::string& game_name, const KeyValues& kv);
  bool write(const std::string& game_name, const Canvas& picture);
  bool write(const std::string& game_name, const std::vector<uint8_t>& bytes);
  const std::vector<std::string>& errors() const { return errors_; }
  int files_written() const { return files_; }

 private:
  std::string prepare(const std::string& game_name);
  std::string root_;
  std::vector<std::string> errors_;
  int files_ = 0;
};

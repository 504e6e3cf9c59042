#include "datafile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "canvas.h"

std::string host_path(const std::string& root, const std::string& game_name) {
  std::string rel = game_name;
  for (char& c : rel)
    if (c == '\\') c = '/';
  return root + "/" + rel;
}

KeyValues& KeyValues::add(const std::string& k, const std::string& v) {
  entries_.emplace_back(k, v);
  return *this;
}
KeyValues& KeyValues::add(const std::string& k, int v) { return add(k, std::to_string(v)); }
KeyValues& KeyValues::add(const std::string& k, double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", v);
  std::string s = buf;
  if (s.find('.') == std::string::npos && s.find('e') == std::string::npos) s += ".0";
  return add(k, s);
}

std::string KeyValues::text() const {
  std::string out;
  for (const auto& [k, v] : entries_) out += k + "=" + v + "\n";
  return out;
}

std::string key(const char* fmt, int a) {
  char buf[64];
  std::snprintf(buf, sizeof buf, fmt, a);
  return buf;
}
std::string key(const char* fmt, int a, int b) {
  char buf[64];
  std::snprintf(buf, sizeof buf, fmt, a, b);
  return buf;
}

DataTree::DataTree(std::string root) : root_(std::move(root)) {}

std::string DataTree::prepare(const std::string& game_name) {
  std::string path = host_path(root_, game_name);
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  return path;
}

bool DataTree::write(const std::string& game_name, const KeyValues& kv) {
  std::string t = kv.text();
  return write(game_name, std::vector<uint8_t>(t.begin(), t.end()));
}

bool DataTree::write(const std::string& game_name, const Canvas& picture) {
  std::string path = prepare(game_name);
  if (!picture.save_png(path)) {
    errors_.push_back("cannot write " + path);
    return false;
  }
  ++files_;
  return true;
}

bool DataTree::write(const std::string& game_name, const std::vector<uint8_t>& bytes) {
  std::string path = prepare(game_name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out.good()) {
    errors_.push_back("cannot write " + path);
    return false;
  }
  ++files_;
  return true;
}

#include "tree_reader.h"

#include <png.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

const char* const kFighters[4] = {"brela", "kastrell", "morvane", "dravitz"};

std::string generate_into_new_dir(const std::string& tag) {
  static int counter = 0;
  fs::path dir = fs::temp_directory_path() /
                 ("gen_content_" + tag + "_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
  fs::remove_all(dir);
  std::string cmd = std::string("\"") + GEN_CONTENT_BIN + "\" \"" + dir.string() + "\" > /dev/null";
  if (std::system(cmd.c_str()) != 0) return "";
  return dir.string();
}

std::string shared_tree() {
  static const std::string root = [] {
    const char* given = std::getenv("GEN_CONTENT_TREE");
    if (given && fs::is_regular_file(fs::path(given) / "game" / "game.ini")) return std::string(given);
    static std::string made;
    made = generate_into_new_dir("shared");
    std::atexit([] {
      std::error_code ec;
      if (!made.empty()) fs::remove_all(made, ec);
    });
    return made;
  }();
  return root;
}

std::string DataFile::str(const std::string& k) const {
  auto it = values.find(k);
  return it == values.end() ? std::string() : it->second;
}
int DataFile::num(const std::string& k) const { return std::atoi(str(k).c_str()); }
double DataFile::real(const std::string& k) const { return std::atof(str(k).c_str()); }

std::string on_disk(const std::string& root, const std::string& game_name) {
  std::string rel = game_name;
  for (char& c : rel)
    if (c == '\\') c = '/';
  return root + "/" + rel;
}

bool exists(const std::string& root, const std::string& game_name) {
  return !game_name.empty() && fs::is_regular_file(on_disk(root, game_name));
}

std::vector<uint8_t> read_bytes(const std::string& host_path) {
  std::ifstream in(host_path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

DataFile read_data_file(const std::string& root, const std::string& game_name) {
  DataFile f;
  std::ifstream in(on_disk(root, game_name), std::ios::binary);
  if (!in) return f;
  f.opened = true;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t i = 0;
  auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  while (i < text.size()) {
    while (i < text.size() && space(text[i])) ++i;
    size_t start = i;
    while (i < text.size() && !space(text[i])) ++i;
    if (i >= text.size()) break;  // a token at end of file is dropped
    std::string tok = text.substr(start, i - start);
    size_t k0 = tok.find_first_not_of('=');
    if (k0 == std::string::npos) continue;
    size_t k1 = tok.find('=', k0);
    if (k1 == std::string::npos) continue;
    size_t v0 = tok.find_first_not_of('=', k1);
    if (v0 == std::string::npos) continue;
    size_t v1 = tok.find('=', v0);
    std::string k = tok.substr(k0, k1 - k0);
    std::string v = tok.substr(v0, v1 == std::string::npos ? std::string::npos : v1 - v0);
    f.values.emplace(k, v);  // first occurrence wins
  }
  return f;
}

Picture read_png(const std::string& host_path) {
  Picture p;
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&img, host_path.c_str())) return p;
  img.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> buf(PNG_IMAGE_SIZE(img));
  if (!png_image_finish_read(&img, nullptr, buf.data(), 0, nullptr)) {
    png_image_free(&img);
    return p;
  }
  p.w = static_cast<int>(img.width);
  p.h = static_cast<int>(img.height);
  p.rgba = std::move(buf);
  return p;
}

std::map<std::string, uint64_t> checksum_tree(const std::string& root) {
  std::map<std::string, uint64_t> out;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (!e.is_regular_file()) continue;
    uint64_t h = 1469598103934665603ull;
    for (uint8_t b : read_bytes(e.path().string())) {
      h ^= b;
      h *= 1099511628211ull;
    }
    out[fs::relative(e.path(), root).string()] = h;
  }
  return out;
}

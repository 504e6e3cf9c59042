#include "core/config_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/data_path.h"
#include "core/log.h"

namespace {

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// The whole file at `host`, which inspect_data_file found regular and small
// enough. Opened without blocking and checked again on the open descriptor,
// so a file swapped for a pipe meanwhile is refused too, never waited on.
bool read_whole_file(const std::string& host, std::vector<char>& data) {
  if (host.empty()) return false;
  const int fd = open(host.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > max_text_file_bytes) {
    close(fd);
    return false;
  }
  data.resize(static_cast<size_t>(info.st_size));
  size_t got = 0;
  while (got < data.size()) {
    const ssize_t n = read(fd, data.data() + got, data.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // shrunk meanwhile, or a read error: keep what was read
    got += static_cast<size_t>(n);
  }
  close(fd);
  data.resize(got);
  return true;
}

}  // namespace

config_file::~config_file() { forget_data_references(this); }

int config_file::load(const char* path) {
  if (!path) path = "";
  log_out("load config [%s]\n", path);
  std::vector<char> data;
  if (!read_whole_file(checked_data_path(path, data_kind::text), data)) {
    log_out("Can't open [%s]\n", path);
    return 0;
  }
  parse(data.data(), data.size(), path);
  return 1;
}

void config_file::parse(const char* data, size_t n, const char* path) {
  // Every token takes at least one byte of whitespace after it and gives at
  // most two terminators more than its length: n + n / 2 + 2 bytes hold all.
  const size_t path_size = std::strlen(path) + 1;
  block b;
  b.text.reset(new char[path_size + n + n / 2 + 2]);
  char* out = b.text.get();
  std::memcpy(out, path, path_size);
  size_t at = path_size;
  const size_t first_new = keys_.size();

  const char* p = data;
  const char* const end = data + n;
  uint32_t line = 1;
  dropped_.clear();
  dropped_line_ = 0;
  for (;;) {
    for (; p < end && is_space(*p); ++p) line += *p == '\n';
    const char* start = p;
    while (p < end && !is_space(*p)) ++p;
    // A token that reached the end of the file is dropped: the last token
    // counts only when whitespace follows it.
    if (p == end) {
      if (start < end) {
        dropped_.assign(start, std::min(static_cast<size_t>(end - start), static_cast<size_t>(max_token)));
        dropped_line_ = static_cast<int>(line);
      }
      break;
    }
    lines_.push_back(line);
    size_t len = std::min(static_cast<size_t>(p - start), static_cast<size_t>(max_token));  // overlong tokens are cut
    // A NUL byte (a binary file) ends the token's text early; that is harmless.
    if (const void* nul = std::memchr(start, '\0', len)) len = static_cast<const char*>(nul) - start;
    const char* t = start;
    const char* const t_end = start + len;
    // key: the first run of non-'=' characters; value: the next run.
    while (t < t_end && *t == '=') ++t;
    keys_.push_back(out + at);
    for (int kept = 0; t < t_end && *t != '='; ++t) {
      if (kept < key_size - 1) out[at++] = *t, ++kept;
    }
    out[at++] = '\0';
    while (t < t_end && *t == '=') ++t;
    for (int kept = 0; t < t_end && *t != '='; ++t) {
      if (kept < value_size - 2) out[at++] = *t, ++kept;  // 255 characters at most
    }
    out[at++] = '\0';
  }
  b.size = at;
  blocks_.push_back(std::move(b));

  for (size_t i = first_new; i < keys_.size(); ++i) by_key_.push_back(static_cast<uint32_t>(i));
  std::sort(by_key_.begin(), by_key_.end(), [this](uint32_t a, uint32_t b) {
    const int c = std::strcmp(keys_[a], keys_[b]);
    return c < 0 || (c == 0 && a < b);
  });
}

const char* config_file::value_at(int i) const { return keys_[i] + std::strlen(keys_[i]) + 1; }

int config_file::find_entry(const char* key) const {
  if (!key) return -1;
  auto it = std::lower_bound(by_key_.begin(), by_key_.end(), key,
                             [this](uint32_t e, const char* k) { return std::strcmp(keys_[e], k) < 0; });
  if (it == by_key_.end() || std::strcmp(keys_[*it], key) != 0) return -1;
  return static_cast<int>(*it);  // the lowest position among equal keys: the first occurrence
}

const char* config_file::find(const char* key) const {
  const int e = find_entry(key);
  return e < 0 ? nullptr : keys_[e];
}

int config_file::line_of(const char* key) const {
  const int e = find_entry(key);
  return e < 0 ? 0 : line_at(e);
}

const char* config_file::file_of(const char* key_text) const {
  for (const block& b : blocks_) {
    if (key_text >= b.text.get() && key_text < b.text.get() + b.size) return b.text.get();
  }
  return "";
}

int config_file::has_key(const char* key) const { return find(key) ? 1 : 0; }

int config_file::get_int(const char* key) const {
  const char* k = find(key);
  if (!k) return 0;
  // strtol saturates instead of overflowing like atoi would.
  long v = std::strtol(k + std::strlen(k) + 1, nullptr, 10);
  if (v > 2147483647L) return 2147483647;
  if (v < -2147483647L - 1) return -2147483647 - 1;
  return static_cast<int>(v);
}

double config_file::get_float(const char* key) const {
  const char* k = find(key);
  return k ? std::strtod(k + std::strlen(k) + 1, nullptr) : 0.0;
}

const char* config_file::get_string(const char* key) const {
  const char* k = find(key);
  if (!k) return "";
  const char* value = k + std::strlen(k) + 1;
  // Loaders open the files named here at once: a refusal can name this file and key.
  note_data_reference(this, file_of(k), k, value);
  return value;
}

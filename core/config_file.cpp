#include "core/config_file.h"

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

#include "core/data_path.h"
#include "core/log.h"

namespace {

bool is_space(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Copies the run of non-'=' characters starting at `src` into `dst` (at most
// size - 1 of them; the rest of the run is skipped) and returns where it ended.
const char* take_run(const char* src, char* dst, int size) {
  int n = 0;
  while (*src && *src != '=') {
    if (n < size - 1) dst[n++] = *src;
    ++src;
  }
  dst[n] = '\0';
  return src;
}

}  // namespace

config_file::~config_file() {
  while (first_) {
    entry* next = first_->next;
    delete first_;
    first_ = next;
  }
}

int config_file::load(const char* path) {
  log_out("load config [%s]\n", path);
  FILE* f = open_data_file(path, "r");
  struct stat info;
  if (f && (fstat(fileno(f), &info) != 0 || S_ISDIR(info.st_mode))) {
    std::fclose(f);  // a directory opens on some systems but is no data file
    f = nullptr;
  }
  if (!f) {
    log_out("Can't open [%s]\n", path);
    return 0;
  }
  char token[max_token + 1];
  for (;;) {
    int c = std::fgetc(f);
    while (c != EOF && is_space(c)) c = std::fgetc(f);
    int n = 0;
    while (c != EOF && !is_space(c)) {
      if (n < max_token) token[n++] = static_cast<char>(c);  // overlong tokens are cut
      c = std::fgetc(f);
    }
    // A token that reached the end of the file is dropped: the last token
    // counts only when whitespace follows it.
    if (c == EOF) break;
    token[n] = '\0';
    // NUL bytes in a binary file end the token's text early; that is harmless.
    append(token);
  }
  std::fclose(f);
  return 1;
}

void config_file::append(const char* token) {
  entry* e = new entry;
  const char* p = token;
  while (*p == '=') ++p;
  p = take_run(p, e->key, key_size);
  while (*p == '=') ++p;
  take_run(p, e->value, value_size - 1);  // 255 characters at most
  e->next = nullptr;
  if (last_) {
    last_->next = e;
  } else {
    first_ = e;
  }
  last_ = e;
}

const config_file::entry* config_file::find(const char* key) const {
  for (const entry* e = first_; e; e = e->next) {
    if (std::strcmp(e->key, key) == 0) return e;
  }
  return nullptr;
}

int config_file::entry_count() const {
  int n = 0;
  for (const entry* e = first_; e; e = e->next) ++n;
  return n;
}

int config_file::has_key(const char* key) const { return find(key) ? 1 : 0; }

int config_file::get_int(const char* key) const {
  const entry* e = find(key);
  if (!e) return 0;
  // strtol saturates instead of overflowing like atoi would.
  long v = std::strtol(e->value, nullptr, 10);
  if (v > 2147483647L) return 2147483647;
  if (v < -2147483647L - 1) return -2147483647 - 1;
  return static_cast<int>(v);
}

double config_file::get_float(const char* key) const {
  const entry* e = find(key);
  return e ? std::strtod(e->value, nullptr) : 0.0;
}

const char* config_file::get_string(const char* key) const {
  const entry* e = find(key);
  return e ? e->value : "";
}

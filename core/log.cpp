#include "core/log.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>

void (*log_watcher)(const char* text) = nullptr;

namespace {
bool muted_now = false;
std::string* captured_out = nullptr;
std::string* captured_err = nullptr;

void append_formatted(std::string& to, const char* fmt, va_list args) {
  va_list again;
  va_copy(again, args);
  const int n = std::vsnprintf(nullptr, 0, fmt, again);
  va_end(again);
  if (n <= 0) return;
  const size_t at = to.size();
  to.resize(at + static_cast<size_t>(n) + 1);
  std::vsnprintf(&to[at], static_cast<size_t>(n) + 1, fmt, args);
  to.resize(at + static_cast<size_t>(n));
}
}  // namespace

void set_log_muted(bool muted) { muted_now = muted; }
bool log_muted() { return muted_now; }

void set_log_capture(std::string* out, std::string* err) {
  captured_out = out;
  captured_err = err;
}
std::string* log_capture_out() { return captured_out; }
std::string* log_capture_err() { return captured_err; }

void log_out(const char* fmt, ...) {
  if (muted_now) return;
  va_list args;
  va_start(args, fmt);
  if (captured_out) {
    append_formatted(*captured_out, fmt, args);
    va_end(args);
    return;
  }
  if (log_watcher) {
    va_list again;
    va_copy(again, args);
    char text[1024];
    std::vsnprintf(text, sizeof text, fmt, again);
    va_end(again);
    log_watcher(text);
  }
  std::vprintf(fmt, args);
  va_end(args);
}

void log_err(const char* fmt, ...) {
  if (muted_now) return;
  va_list args;
  va_start(args, fmt);
  if (captured_err) {
    append_formatted(*captured_err, fmt, args);
    va_end(args);
    return;
  }
  std::vfprintf(stderr, fmt, args);
  va_end(args);
}

void make_log_line_buffered() { std::setvbuf(stdout, nullptr, _IOLBF, 0); }

unsigned log_addr(const void* p) {
  return static_cast<unsigned>(reinterpret_cast<uintptr_t>(p));
}

#include "core/log.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>

void (*log_watcher)(const char* text) = nullptr;

namespace {
bool muted_now = false;
}  // namespace

void set_log_muted(bool muted) { muted_now = muted; }
bool log_muted() { return muted_now; }

void log_out(const char* fmt, ...) {
  if (muted_now) return;
  va_list args;
  va_start(args, fmt);
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
  std::vfprintf(stderr, fmt, args);
  va_end(args);
}

void make_log_line_buffered() { std::setvbuf(stdout, nullptr, _IOLBF, 0); }

unsigned log_addr(const void* p) {
  return static_cast<unsigned>(reinterpret_cast<uintptr_t>(p));
}

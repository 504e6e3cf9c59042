// The data checker's findings: kept while the checks run, then printed sorted
// by file and line like a compiler's, with a summary line.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdarg>
#include <cstdio>

#include "app/check/data_check.h"
#include "core/config_file.h"

data_site site_of(const config_file& config, const char* file, const std::string& key) {
  data_site site;
  site.file = file;
  site.line = config.line_of(key.c_str());
  site.key = key;
  return site;
}

data_site fixed_site(const char* what) {
  data_site site;
  site.what = what;
  return site;
}

void data_checker::add(data_severity severity, const std::string& file, int line, const char* fmt,
                       va_list args) {
  char text[1024];
  std::vsnprintf(text, sizeof text, fmt, args);
  findings_.push_back({file, line, severity, text});
}

void data_checker::report(data_severity severity, const std::string& file, int line, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  add(severity, file, line, fmt, args);
  va_end(args);
}

void data_checker::error(const std::string& file, int line, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  add(data_severity::error, file, line, fmt, args);
  va_end(args);
}

void data_checker::warning(const std::string& file, int line, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  add(data_severity::warning, file, line, fmt, args);
  va_end(args);
}

void data_checker::error_at(const data_site& by, const char* path, const char* fmt, ...) {
  char text[1024];
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(text, sizeof text, fmt, args);
  va_end(args);
  if (by.file.empty()) {
    error(path, 0, "%s (loaded by %s)", text, by.what.c_str());
  } else {
    error(by.file, by.line, "%s=%s: %s", by.key.c_str(), path, text);
  }
}

int data_checker::finish() {
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
  log_out("check: %d files read in %.2f s (%.2f s of processor time)\n", files_checked, seconds,
          static_cast<double>(std::clock()) / CLOCKS_PER_SEC);
  std::stable_sort(findings_.begin(), findings_.end(), [](const finding& a, const finding& b) {
    return a.file != b.file ? a.file < b.file : a.line < b.line;
  });
  int errors = 0, warnings = 0;
  for (const finding& f : findings_) {
    const char* kind = f.severity == data_severity::error ? "error" : f.severity == data_severity::warning ? "warning" : "note";
    errors += f.severity == data_severity::error;
    warnings += f.severity == data_severity::warning;
    log_out("%s:%d: %s: %s\n", f.file.c_str(), f.line, kind, f.text.c_str());
  }
  log_out("%d errors, %d warnings in %d files\n", errors, warnings, files_checked);
  return errors > 0 ? 1 : 0;
}

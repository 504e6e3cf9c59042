// The data checker's file checks: every file the data names must be a regular
// file, within its kind's size cap and inside the data directory, as the game
// itself demands before opening it (core/data_path.h).
#include "app/check/binary_file.h"
#include "app/check/data_check.h"

bool data_checker::refused(const char* path, data_kind kind, const data_site& by) {
  const data_file_status status = inspect_data_file(path, kind);
  if (status.refusal.empty()) return false;
  if (!refused_.insert({kind, path}).second) return true;
  if (by.file.empty()) {
    error(path, 0, "this file is refused (loaded by %s): %s", by.what.c_str(), status.refusal.c_str());
  } else {
    error(by.file, by.line, "%s=%s is refused: %s", by.key.c_str(), path, status.refusal.c_str());
  }
  return true;
}

bool data_checker::looks_like_text(const char* path, const data_site& by) {
  const char* what = binary_content_of(path);
  if (!what) return true;
  error_at(by, path, "%s, not a key=value file: the game reads no keys from it", what);
  return false;
}

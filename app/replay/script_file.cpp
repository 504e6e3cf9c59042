#include "app/replay/script_file.h"

#include "app/replay/script_text.h"
#include "core/bounded_read.h"

namespace {

const char* name_of(script_kind kind) { return kind == script_kind::replay ? "replay" : "key script"; }

// Whether the first line that is not blank or a comment starts with "replay".
bool starts_as_replay(const std::string& text) {
  script_lines lines(text);
  std::string_view line;
  bool nul = false;
  while (lines.next(line, nul)) {
    script_fields fields(line);
    std::string_view first;
    if (nul || fields.next(first)) return !nul && first == "replay";
  }
  return false;
}

}  // namespace

bool parse_script_file(const std::string& file, const std::string& text, script_kind kind, replay_file& out,
                       std::string& error) {
  out = replay_file();
  const bool ok = kind == script_kind::replay || starts_as_replay(text) ? parse_replay(text, out, error)
                                                                        : parse_key_script(text, out.keys, error);
  if (!ok) error = std::string(name_of(kind)) + " " + file + ", " + error;
  return ok;
}

bool load_script_file(const std::string& file, script_kind kind, replay_file& out, std::string& error,
                      long long max_bytes) {
  std::string text, why;
  if (!read_bounded_file(file, max_bytes, text, why)) {
    error = "can't read the " + std::string(name_of(kind)) + " " + file + ": " + why;
    return false;
  }
  return parse_script_file(file, text, kind, out, error);
}

#include "app/replay/key_script.h"

#include <SDL.h>

#include <map>

#include "app/replay/replay_format.h"
#include "app/replay/script_text.h"

namespace {

// SDL's key names, looked up once: a script of millions of lines must not
// scan every key for every line.
const std::map<std::string, int, std::less<>>& key_names() {
  static const std::map<std::string, int, std::less<>> names = [] {
    std::map<std::string, int, std::less<>> m;
    for (int k = 1; k < SDLK_LAST; ++k) {
      const char* name = SDL_GetKeyName(static_cast<SDLKey>(k));
      if (name && *name) m.emplace(name, k);  // the first key of a name wins
    }
    return m;
  }();
  return names;
}

}  // namespace

int key_code_for_name(std::string_view name) {
  long long n = 0;
  if (parse_script_number(name, 1, SDLK_LAST - 1, n)) return static_cast<int>(n);
  const auto found = key_names().find(name);
  return found == key_names().end() ? -1 : found->second;
}

std::string key_name_for_script(int key) {
  const char* name = SDL_GetKeyName(static_cast<SDLKey>(key));
  const std::string text = name ? name : "";
  const bool one_field = !text.empty() && text.find_first_of(" \t#") == std::string::npos;
  return one_field && key_code_for_name(text) == key ? text : std::to_string(key);
}

bool parse_key_fields(std::string_view key, std::string_view action, bool more, long frame,
                      key_script_event& out) {
  const int code = key == "quit" ? script_quit_key : key_code_for_name(key);
  if (code < 0 || (action != "down" && action != "up") || more) return false;
  out = {frame, code, action == "down" ? 1 : 0};
  return true;
}

bool parse_key_script(std::string_view text, std::vector<key_script_event>& events, std::string& error) {
  script_lines lines(text);
  std::string_view line;
  bool nul = false;
  long last_frame = 0;
  while (lines.next(line, nul)) {
    auto fail = [&](const std::string& what) {
      error = "line " + std::to_string(lines.number()) + ": " + what;
      return false;
    };
    if (nul) return fail("holds a NUL byte");
    script_fields fields(line);
    std::string_view frame_text, key, action;
    if (!fields.next(frame_text)) continue;  // blank or comment line
    if (is_replay_header_word(frame_text)) {
      return fail(quoted_for_message(frame_text) +
                  " is a replay's header line: a key script holds 'FRAME KEY down|up' lines only");
    }
    fields.next(key);
    fields.next(action);
    long long frame = 0;
    key_script_event event{};
    const bool frame_ok = parse_script_number(frame_text, 0, max_script_frame, frame);
    if (!frame_ok || !parse_key_fields(key, action, !fields.at_end(), static_cast<long>(frame), event)) {
      return fail("expected 'FRAME KEY down|up' (FRAME 0.." + std::to_string(max_script_frame) + "), got " +
                  quoted_for_message(line));
    }
    if (frame < last_frame) return fail("frames must not go backwards");
    last_frame = static_cast<long>(frame);
    events.push_back(event);
  }
  return true;
}

#include "app/replay/replay_format.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/dev/script_driver.h"

const char* const replay_build_version = "fight-2";

namespace {

const char* const header_words[] = {"replay", "build", "seed", "width", "height", "fps", "fighter", "joystick"};
const int required_header_words = 8;
// Optional (F9 saves): "random libc", "clock readings".
const char* const optional_header_words[] = {"random", "clock"};
// Written only when set; older replays have none of them. Each is 0 (off) or
// in the range game.ini accepts.
struct match_word {
  const char* word;
  long lo, hi;
  int replay_header::*into;
};
const match_word match_words[] = {{"rounds", 1, 9, &replay_header::rounds},
                                  {"round_time", 10, 999, &replay_header::round_time},
                                  {"difficulty", 1, 5, &replay_header::difficulty},
                                  {"push_apart", 1, 1, &replay_header::push_apart}};

const match_word* find_match_word(const std::string& word) {
  for (const match_word& w : match_words) {
    if (word == w.word) return &w;
  }
  return nullptr;
}

bool is_match_word(const std::string& word) { return find_match_word(word) != nullptr; }

bool to_long(const std::string& text, long& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  out = std::strtol(text.c_str(), &end, 10);
  return *end == '\0';
}

bool to_ms(const std::string& text, uint32_t& out) {
  if (text.empty() || text[0] == '-') return false;
  char* end = nullptr;
  const unsigned long long v = std::strtoull(text.c_str(), &end, 10);
  if (*end != '\0' || v > 0xffffffffULL) return false;
  out = static_cast<uint32_t>(v);
  return true;
}

bool is_optional_header_word(const std::string& word) {
  for (const char* w : optional_header_words) {
    if (word == w) return true;
  }
  return false;
}

}  // namespace

bool is_replay_header_word(const std::string& word) {
  if (is_match_word(word)) return true;
  for (const char* w : header_words) {
    if (word == w) return true;
  }
  return is_optional_header_word(word);
}

bool is_replay_event_word(const std::string& word) {
  return word == "joybutton" || word == "joyaxis" || word == "check" || word == "clock" || word == "end";
}

bool parse_replay(const std::string& text, replay_file& out, std::string& error) {
  std::istringstream in(text);
  std::string line;
  int line_number = 0;
  int header_seen = 0;
  long last_frame = 0;
  auto fail = [&](const std::string& what) {
    error = "line " + std::to_string(line_number) + ": " + what;
    return false;
  };
  while (std::getline(in, line)) {
    ++line_number;
    size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    std::istringstream fields(line);
    std::vector<std::string> f;
    for (std::string w; fields >> w;) f.push_back(w);
    if (f.empty()) continue;
    if (out.end_frame >= 0) return fail("nothing may follow the end line");
    long n = 0;
    if (header_seen == 0 && f[0] != "replay") return fail("not a replay: expected 'replay 1' first");
    if (f[0] == "random" || f[0] == "clock") {
      const char* only = f[0] == "random" ? "libc" : "readings";
      if (f.size() != 2 || f[1] != only) return fail("expected '" + f[0] + " " + only + "'");
      (f[0] == "random" ? out.header.libc_random : out.header.clock_readings) = true;
      continue;
    }
    if (const match_word* w = find_match_word(f[0])) {
      if (f.size() != 2 || !to_long(f[1], n) || (n != 0 && (n < w->lo || n > w->hi))) {
        const std::string range = w->lo == w->hi ? std::to_string(w->lo) : std::to_string(w->lo) + ".." + std::to_string(w->hi);
        return fail("expected '" + f[0] + " 0' or '" + f[0] + " " + range + "'");
      }
      out.header.*(w->into) = static_cast<int>(n);
      continue;
    }
    if (is_replay_header_word(f[0])) {
      const bool number = f[0] != "build";
      if (f.size() != 2 || (number && !to_long(f[1], n))) return fail("expected '" + f[0] + " VALUE'");
      if (f[0] == "replay") {
        if (n != replay_format_version && n != replay_saved_format_version) return fail("replay format " + f[1] + " is not one this game reads");
        out.header.version = static_cast<int>(n);
      } else if (f[0] == "build") {
        out.header.build = f[1];
      } else if (f[0] == "seed") {
        out.header.seed = static_cast<unsigned>(n);
      } else if (f[0] == "width") {
        out.header.width = static_cast<int>(n);
      } else if (f[0] == "height") {
        out.header.height = static_cast<int>(n);
      } else if (f[0] == "fps") {
        out.header.fps = static_cast<int>(n);
      } else if (f[0] == "fighter") {
        out.header.fighter = static_cast<int>(n);
      } else {
        out.header.joystick = n != 0;
      }
      ++header_seen;
      continue;
    }
    if (!to_long(f[0], n) || n < 0) return fail("expected a frame number or a header line, got '" + line + "'");
    if (n < last_frame) return fail("frames must not go backwards");
    last_frame = n;
    if (f.size() < 2 || !is_replay_event_word(f[1])) continue;  // a key line
    if (header_seen != required_header_words) return fail("the header (replay, build, seed, width, height, fps, fighter, joystick) is incomplete");
    long index = 0, value = 0;
    if (f[1] == "end") {
      if (f.size() != 2) return fail("expected 'FRAME end'");
      out.end_frame = n;
    } else if (f[1] == "clock") {
      if (!out.clock.empty() && out.clock.back().frame == n) return fail("one clock line a frame");
      uint32_t ms = 0;
      replay_clock_frame c{n, out.clock_readings.size(), 0};
      for (size_t i = 2; i < f.size(); ++i) {
        uint32_t value = 0;
        if (!to_ms(f[i], value)) return fail("expected 'FRAME clock MS [D...]' with whole milliseconds");
        ms = i == 2 ? value : ms + value;  // wraps as the tick counter does
        out.clock_readings.push_back(ms);
      }
      c.count = f.size() - 2;
      if (c.count == 0) return fail("expected 'FRAME clock MS [D...]' with whole milliseconds");
      out.clock.push_back(c);
    } else if (f[1] == "check") {
      char* end = nullptr;
      unsigned long long h = f.size() == 3 ? std::strtoull(f[2].c_str(), &end, 16) : 0;
      if (f.size() != 3 || *end != '\0' || f[2].empty()) return fail("expected 'FRAME check HEX'");
      out.checks.push_back({n, h, line_number});
    } else if (f[1] == "joybutton") {
      if (f.size() != 4 || !to_long(f[2], index) || index < 0 || index > 31 || (f[3] != "down" && f[3] != "up")) {
        return fail("expected 'FRAME joybutton 0..31 down|up'");
      }
      out.joystick.push_back({n, false, static_cast<int>(index), f[3] == "down" ? 1 : 0});
    } else {
      if (f.size() != 4 || !to_long(f[2], index) || index < 0 || index > 7 || !to_long(f[3], value) ||
          value < -32768 || value > 32767) {
        return fail("expected 'FRAME joyaxis 0..7 -32768..32767'");
      }
      out.joystick.push_back({n, true, static_cast<int>(index), static_cast<int>(value)});
    }
  }
  if (header_seen == 0) return fail("empty: not a replay");
  if (out.end_frame < 0) return fail("truncated: no 'FRAME end' line");
  return true;
}

bool load_replay(const std::string& file, replay_file& out, std::string& error) {
  std::vector<key_script_event> keys;  // checks the key lines, and that the file is readable
  if (!load_key_script(file, keys, error)) {
    const std::string prefix = "key script ";
    if (error.compare(0, prefix.size(), prefix) == 0) error.replace(0, prefix.size(), "replay ");
    if (error.find("can't read the key script") == 0) error.replace(0, 25, "can't read the replay");
    return false;
  }
  std::ifstream in(file, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!parse_replay(text, out, error)) {
    error = "replay " + file + ", " + error;
    return false;
  }
  return true;
}

std::string replay_header_text(const replay_header& h) {
  std::ostringstream s;
  s << "# recorded fight: play it with --replay FILE\n"
    << "replay " << h.version << "\nbuild " << h.build << "\nseed " << h.seed << "\nwidth " << h.width
    << "\nheight " << h.height << "\nfps " << h.fps << "\nfighter " << h.fighter << "\njoystick " << h.joystick
    << "\n";
  if (h.libc_random) s << "random libc\n";
  if (h.clock_readings) s << "clock readings\n";
  if (h.rounds) s << "rounds " << h.rounds << "\n";
  if (h.round_time) s << "round_time " << h.round_time << "\n";
  if (h.difficulty) s << "difficulty " << h.difficulty << "\n";
  if (h.push_apart) s << "push_apart " << h.push_apart << "\n";
  return s.str();
}

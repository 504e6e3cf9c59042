#include "app/replay/replay_format.h"

#include <sstream>

#include "app/replay/script_text.h"
#include "app/settings.h"

const char* const replay_build_version = "fight-4";

namespace {

// Each header line: a word and one value. The first line is always "replay
// VERSION"; a newer version that adds lines adds them here.
enum class value_kind { number, token, fixed };
struct header_field {
  const char* word;
  bool required;
  value_kind kind;
  long long lo, hi;  // a number's range
  bool zero_is_off;  // a match key: 0 (off) or lo..hi, as game.ini takes it
  const char* fixed;  // value_kind::fixed: the one word it takes
  void (*store)(replay_header&, long long);
};

const header_field header_fields[] = {
    {"replay", true, value_kind::number, replay_format_version, replay_format_version, false, nullptr,
     [](replay_header& h, long long v) { h.version = static_cast<int>(v); }},
    {"build", true, value_kind::token, 0, 0, false, nullptr, nullptr},
    {"seed", true, value_kind::number, 0, 4294967295LL, false, nullptr,
     [](replay_header& h, long long v) { h.seed = static_cast<unsigned>(v); }},
    {"width", true, value_kind::number, 1, max_screen_side, false, nullptr,
     [](replay_header& h, long long v) { h.width = static_cast<int>(v); }},
    {"height", true, value_kind::number, 1, max_screen_side, false, nullptr,
     [](replay_header& h, long long v) { h.height = static_cast<int>(v); }},
    {"fps", true, value_kind::number, 1, max_fps, false, nullptr,
     [](replay_header& h, long long v) { h.fps = static_cast<int>(v); }},
    {"fighter", true, value_kind::number, -1, 3, false, nullptr,
     [](replay_header& h, long long v) { h.fighter = static_cast<int>(v); }},
    {"joystick", true, value_kind::number, 0, 1, false, nullptr,
     [](replay_header& h, long long v) { h.joystick = static_cast<int>(v); }},
    {"random", false, value_kind::fixed, 0, 0, false, "libc",
     [](replay_header& h, long long) { h.libc_random = true; }},
    {"clock", false, value_kind::fixed, 0, 0, false, "readings",
     [](replay_header& h, long long) { h.clock_readings = true; }},
    {"rounds", false, value_kind::number, 1, 9, true, nullptr,
     [](replay_header& h, long long v) { h.rounds = static_cast<int>(v); }},
    {"round_time", false, value_kind::number, 10, 999, true, nullptr,
     [](replay_header& h, long long v) { h.round_time = static_cast<int>(v); }},
    {"difficulty", false, value_kind::number, 1, 5, true, nullptr,
     [](replay_header& h, long long v) { h.difficulty = static_cast<int>(v); }},
    {"push_apart", false, value_kind::number, 1, 1, true, nullptr,
     [](replay_header& h, long long v) { h.push_apart = static_cast<int>(v); }},
    {"main_menu", false, value_kind::number, 1, 1, true, nullptr,
     [](replay_header& h, long long v) { h.main_menu = static_cast<int>(v); }},
    {"training", false, value_kind::number, 0, 3, false, nullptr,
     [](replay_header& h, long long v) { h.training = static_cast<int>(v); }},
    {"dummy", false, value_kind::number, 0, 3, false, nullptr,
     [](replay_header& h, long long v) { h.dummy = static_cast<int>(v); }},
    {"guest_fighter", false, value_kind::number, 0, 3, false, nullptr,
     [](replay_header& h, long long v) { h.guest_fighter = static_cast<int>(v); }},
};
constexpr size_t header_field_count = sizeof header_fields / sizeof header_fields[0];
constexpr size_t max_build_length = 40;

int header_field_index(std::string_view word) {
  for (size_t i = 0; i < header_field_count; ++i) {
    if (word == header_fields[i].word) return static_cast<int>(i);
  }
  return -1;
}

std::string expected_value(const header_field& f) {
  const std::string w = f.word;
  switch (f.kind) {
    case value_kind::fixed:
      return "'" + w + " " + f.fixed + "'";
    case value_kind::token:
      return "'" + w + " NAME' (1 to " + std::to_string(max_build_length) + " printable characters)";
    case value_kind::number:
      break;
  }
  const std::string range = f.lo == f.hi ? std::to_string(f.lo) : std::to_string(f.lo) + ".." + std::to_string(f.hi);
  return (f.zero_is_off ? "'" + w + " 0' or " : std::string()) + "'" + w + " " + range + "'";
}

bool printable_token(std::string_view text) {
  if (text.empty() || text.size() > max_build_length) return false;
  for (char c : text) {
    if (c <= 0x20 || c >= 0x7f) return false;
  }
  return true;
}

// One replay being read: what the header has said so far and where.
struct replay_reader {
  replay_file& out;
  std::string& error;
  int line = 0;
  int seen_on[header_field_count] = {};  // the line of each header field, 0 when not yet given
  bool events_started = false;
  long last_frame = 0;

  bool fail(const std::string& what) {
    error = "line " + std::to_string(line) + ": " + what;
    return false;
  }

  bool header_line(int index, script_fields& fields) {
    const header_field& f = header_fields[index];
    if (events_started) return fail("'" + std::string(f.word) + "' is a header line, after the first frame line");
    if (seen_on[index]) {
      return fail("'" + std::string(f.word) + "' is given twice (first on line " + std::to_string(seen_on[index]) + ")");
    }
    std::string_view value;
    fields.next(value);
    const bool alone = fields.at_end();
    long long n = 0;
    bool ok = alone;
    if (f.kind == value_kind::fixed) {
      ok = ok && value == f.fixed;
    } else if (f.kind == value_kind::token) {
      ok = ok && printable_token(value);
      if (ok) out.header.build = std::string(value);
    } else {
      ok = ok && (parse_script_number(value, f.lo, f.hi, n) || (f.zero_is_off && parse_script_number(value, 0, 0, n)));
    }
    long long older = 0;
    if (!ok && index == 0 && alone && parse_script_number(value, 1, replay_format_version - 1, older)) {
      return fail("replay format " + std::to_string(older) + " comes from an older build, which recorded keys; this build plays replay format " +
                  std::to_string(replay_format_version) + ", which records actions");
    }
    if (!ok && index == 0 && alone) {
      return fail("replay format " + quoted_for_message(value) + " is not one this game reads (it plays format " +
                  std::to_string(replay_format_version) + ")");
    }
    if (!ok) return fail("expected " + expected_value(f) + ", got " + quoted_for_message(value));
    if (f.store) f.store(out.header, n);
    seen_on[index] = line;
    const replay_header& h = out.header;
    if ((f.store && (index == header_field_index("width") || index == header_field_index("height"))) &&
        seen_on[header_field_index("width")] && seen_on[header_field_index("height")] &&
        static_cast<long long>(h.width) * h.height > max_screen_pixels) {
      return fail("width " + std::to_string(h.width) + " and height " + std::to_string(h.height) + " make more than " +
                  std::to_string(max_screen_pixels) + " pixels");
    }
    return true;
  }

  bool header_complete() {
    for (size_t i = 0; i < header_field_count; ++i) {
      if (header_fields[i].required && !seen_on[i]) {
        return fail("the header line '" + std::string(header_fields[i].word) + "' is missing");
      }
    }
    // An online fight names both fighters and is no training.
    const replay_header& h = out.header;
    if (h.guest_fighter >= 0 && (h.fighter < 0 || h.training >= 0)) {
      return fail("'guest_fighter' (an online fight) needs 'fighter 0..3' and no 'training'");
    }
    return true;
  }

  bool check_line(long frame, script_fields& fields) {
    std::string_view hex;
    const bool given = fields.next(hex) && fields.at_end() && hex.size() <= 16;
    unsigned long long hash = 0;
    for (char c : given ? hex : std::string_view()) {
      const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
      if (digit < 0) return fail("expected 'FRAME check HEX' (1 to 16 hex digits), got " + quoted_for_message(hex));
      hash = hash * 16 + static_cast<unsigned>(digit);
    }
    if (!given) return fail("expected 'FRAME check HEX' (1 to 16 hex digits), got " + quoted_for_message(hex));
    // The state is first compared once frame 1 has been drawn.
    if (frame < 1) return fail("a check at frame 0 can't be compared: checks start at frame 1");
    out.checks.push_back({frame, hash, line});
    return true;
  }

  bool clock_line(long frame, script_fields& fields) {
    const char* expected = "expected 'FRAME clock MS [D...]' with whole milliseconds";
    if (!out.header.clock_readings) return fail("a clock line needs the header line 'clock readings'");
    if (!out.clock.empty() && out.clock.back().frame == frame) return fail("one clock line a frame");
    replay_clock_frame c{frame, out.clock_readings.size(), 0};
    uint32_t ms = 0;
    std::string_view field;
    while (fields.next(field)) {
      long long value = 0;
      if (!parse_script_number(field, 0, 4294967295LL, value)) return fail(expected);
      ms = c.count == 0 ? static_cast<uint32_t>(value) : ms + static_cast<uint32_t>(value);  // wraps as the tick counter does
      out.clock_readings.push_back(ms);
      ++c.count;
    }
    if (c.count == 0) return fail(expected);
    out.clock.push_back(c);
    return true;
  }

  bool joystick_line(long frame, bool axis, script_fields& fields) {
    std::string_view index_text, value_text;
    fields.next(index_text);
    fields.next(value_text);
    long long index = 0, value = 0;
    if (!axis) {
      if (!fields.at_end() || !parse_script_number(index_text, 0, 31, index) ||
          (value_text != "down" && value_text != "up")) {
        return fail("expected 'FRAME joybutton 0..31 down|up'");
      }
      out.joystick.push_back({frame, false, static_cast<int>(index), value_text == "down" ? 1 : 0});
      return true;
    }
    if (!fields.at_end() || !parse_script_number(index_text, 0, 7, index) ||
        !parse_script_number(value_text, -32768, 32767, value)) {
      return fail("expected 'FRAME joyaxis 0..7 -32768..32767'");
    }
    out.joystick.push_back({frame, true, static_cast<int>(index), static_cast<int>(value)});
    return true;
  }

  bool actions_line(long frame, int player, script_fields& fields) {
    std::string_view text;
    player_actions held = 0;
    if (!fields.next(text) || !fields.at_end() || !parse_player_actions(text, held)) {
      return fail("expected 'FRAME p" + std::to_string(player + 1) +
                  " none' or action names joined by '+' (up, down, left, right, punch, kick, extra1, extra2, x_half, "
                  "x_strong, y_half, y_strong), got " + quoted_for_message(text));
    }
    out.actions.push_back({frame, player, held});
    return true;
  }

  bool frame_line(std::string_view frame_text, std::string_view line_text, script_fields& fields) {
    long long frame = 0;
    if (!parse_script_number(frame_text, 0, max_script_frame, frame)) {
      return fail("expected a frame number (0.." + std::to_string(max_script_frame) + ") or a header line, got " +
                  quoted_for_message(line_text));
    }
    if (!events_started && !header_complete()) return false;
    events_started = true;
    if (frame < last_frame) return fail("frames must not go backwards");
    last_frame = static_cast<long>(frame);
    const long n = static_cast<long>(frame);
    std::string_view word;
    fields.next(word);
    if (word == "end" && fields.at_end()) {
      out.end_frame = n;
      return true;
    }
    if (word == "check") return check_line(n, fields);
    if (word == "clock") return clock_line(n, fields);
    if (word == "p1" || word == "p2") return actions_line(n, word == "p1" ? 0 : 1, fields);
    if (word == "joybutton" || word == "joyaxis") return joystick_line(n, word == "joyaxis", fields);
    std::string_view action;
    fields.next(action);
    key_script_event key{};
    if (!parse_key_fields(word, action, !fields.at_end(), n, key)) {
      return fail("expected 'FRAME KEY down|up' or another replay line, got " + quoted_for_message(line_text));
    }
    out.keys.push_back(key);
    return true;
  }
};

}  // namespace

bool is_replay_header_word(std::string_view word) { return header_field_index(word) >= 0; }

bool parse_replay(std::string_view text, replay_file& out, std::string& error) {
  replay_reader r{out, error};
  script_lines lines(text);
  std::string_view line;
  bool nul = false;
  while (lines.next(line, nul)) {
    r.line = lines.number();
    if (nul) return r.fail("holds a NUL byte");
    script_fields fields(line);
    std::string_view first;
    if (!fields.next(first)) continue;
    if (out.end_frame >= 0) return r.fail("nothing may follow the end line");
    const int index = header_field_index(first);
    if (!r.seen_on[0] && index != 0) return r.fail("not a replay: expected 'replay " + std::to_string(replay_format_version) + "' first");
    if (index >= 0) {
      if (!r.header_line(index, fields)) return false;
    } else if (!r.frame_line(first, line, fields)) {
      return false;
    }
  }
  if (!r.seen_on[0]) return r.fail("empty: not a replay");
  if (!r.header_complete()) return false;
  if (out.end_frame < 0) return r.fail("truncated: no 'FRAME end' line");
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
  if (h.main_menu) s << "main_menu " << h.main_menu << "\n";
  if (h.training >= 0) s << "training " << h.training << "\ndummy " << (h.dummy >= 0 ? h.dummy : 0) << "\n";
  if (h.guest_fighter >= 0) s << "guest_fighter " << h.guest_fighter << "\n";
  return s.str();
}

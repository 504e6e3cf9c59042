// Key scripts and replays are files players swap: every value is checked
// against the limits game.ini and the options have, every number that does
// not fit is refused, and a bad line is named and quoted short and escaped.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/replay/key_script.h"
#include "app/replay/replay_format.h"
#include "app/replay/script_file.h"

namespace {

const std::string header = "replay 3\nbuild fight-4\nseed 3\nwidth 640\nheight 480\nfps 60\nfighter -1\njoystick 0\n";

// The header with the line starting with `word` replaced by `line` (removed when empty).
std::string header_with(const std::string& word, const std::string& line) {
  const size_t at = header.find("\n" + word + " ") + 1;
  const size_t end = header.find('\n', at) + 1;
  return header.substr(0, at) + (line.empty() ? "" : line + "\n") + header.substr(end);
}

std::string replay_error(const std::string& text) {
  replay_file parsed;
  std::string error;
  if (parse_replay(text, parsed, error)) return "accepted";
  return error;
}

std::string script_error(const std::string& text) {
  replay_file parsed;
  std::string error;
  if (parse_script_file("keys", text, script_kind::key_script, parsed, error)) return "accepted";
  return error;
}

}  // namespace

TEST(HostileScripts, HeaderValuesHaveTheLimitsOfGameIniAndTheOptions) {
  struct bad {
    const char* word;
    const char* line;
  };
  for (const bad& c : {bad{"width", "width 100000"}, bad{"width", "width 4294967936"}, bad{"width", "width 0"},
                       bad{"height", "height 16384"}, bad{"fps", "fps 100000"}, bad{"fps", "fps -60"},
                       bad{"fighter", "fighter 99"}, bad{"fighter", "fighter -2"}, bad{"seed", "seed -1"},
                       bad{"seed", "seed 4294967296"}, bad{"joystick", "joystick 2"},
                       bad{"build", "build 12345678901234567890123456789012345678901"}, bad{"replay", "replay 9"}}) {
    SCOPED_TRACE(c.line);
    const std::string text = header_with(c.word, c.line) + "10 end\n";
    const size_t line = std::count(text.begin(), text.begin() + text.find(c.line), '\n') + 1;
    EXPECT_EQ(0u, replay_error(text).find("line " + std::to_string(line) + ": ")) << replay_error(text);
  }
  // Each side fits, the area does not: the line that completes it is named.
  const std::string huge = "replay 3\nbuild b\nseed 3\nfps 60\nfighter -1\njoystick 0\nheight 16000\nwidth 16000\n";
  EXPECT_EQ("line 8: width 16000 and height 16000 make more than 2304000 pixels", replay_error(huge + "10 end\n"));
  // The limits themselves are fine.
  EXPECT_EQ("accepted", replay_error(header_with("seed", "seed 4294967295") + "10 end\n"));
  EXPECT_EQ("accepted", replay_error(header_with("fps", "fps 200") + "10 end\n"));
  EXPECT_EQ("accepted", replay_error(header_with("fighter", "fighter 3") + "10 end\n"));
}

TEST(HostileScripts, HeaderLinesGivenTwiceOrMissingAreNamed) {
  EXPECT_EQ("line 9: 'fps' is given twice (first on line 6)", replay_error(header + "fps 30\n10 end\n"));
  // A missing width and a repeated fps: the repeat comes first.
  EXPECT_EQ("line 8: 'fps' is given twice (first on line 5)",
            replay_error(header_with("width", "") + "fps 60\n10 end\n"));
  EXPECT_EQ("line 8: the header line 'width' is missing", replay_error(header_with("width", "") + "10 end\n"));
  EXPECT_EQ("line 7: the header line 'joystick' is missing", replay_error(header_with("joystick", "")));
  EXPECT_EQ("line 10: 'seed' is a header line, after the first frame line",
            replay_error(header + "5 right down\nseed 4\n10 end\n"));
}

TEST(HostileScripts, AnOnlineFightNamesBothFightersAndIsNoTraining) {
  const std::string online = header_with("fighter", "fighter 1") + "guest_fighter 2\n";
  replay_file parsed;
  std::string error;
  ASSERT_TRUE(parse_replay(online + "10 end\n", parsed, error)) << error;
  EXPECT_EQ(parsed.header.guest_fighter, 2);
  EXPECT_EQ(parsed.header.fighter, 1);
  EXPECT_NE(std::string::npos, replay_header_text(parsed.header).find("\nguest_fighter 2\n"));
  EXPECT_EQ(-1, replay_file().header.guest_fighter);
  EXPECT_EQ(0u, replay_error(header_with("fighter", "fighter -1") + "guest_fighter 2\n10 end\n")
                    .find("line 10: 'guest_fighter' (an online fight) needs"));
  EXPECT_NE("accepted", replay_error(online + "training 1\ndummy 0\n10 end\n"));
  EXPECT_NE("accepted", replay_error(header_with("fighter", "fighter 1") + "guest_fighter 4\n10 end\n"));
}

TEST(HostileScripts, NumbersTooLargeForAnyTypeAreRefused) {
  EXPECT_EQ(0u, replay_error(header + "99999999999999999999999999 end\n").find("line 9: expected a frame number"));
  EXPECT_EQ(0u, replay_error(header + "2147483648 end\n").find("line 9: "));
  EXPECT_EQ(0u, replay_error(header + "5 joyaxis 1 99999999999999999999\n9 end\n").find("line 9: "));
  EXPECT_EQ(0u, replay_error(header + "clock readings\n5 clock 4294967296\n9 end\n").find("line 10: "));
  EXPECT_EQ(0u, script_error("1 right down\n99999999999999999999 right up\n").find("key script keys, line 2: "));
  EXPECT_EQ(0u, script_error("18446744073709551621 right down\n").find("key script keys, line 1: "));  // 2^64 + 5
  EXPECT_EQ("accepted", script_error("2147483647 right down\n"));
}

TEST(HostileScripts, ChecksThatAreMalformedOrCanNotBeComparedAreRefused) {
  for (const char* check : {"60 check -1", "60 check 0123456789abcdef012345", "60 check", "60 check 12 34"}) {
    SCOPED_TRACE(check);
    EXPECT_EQ(0u, replay_error(header + check + "\n90 end\n").find("line 9: expected 'FRAME check HEX'"))
        << replay_error(header + check + "\n90 end\n");
  }
  EXPECT_EQ("line 9: a check at frame 0 can't be compared: checks start at frame 1",
            replay_error(header + "0 check 00000000000000ff\n90 end\n"));
  replay_file parsed;
  std::string error;
  ASSERT_TRUE(parse_replay(header + "60 check FF\n90 end\n", parsed, error)) << error;
  EXPECT_EQ(255u, parsed.checks.at(0).hash);
}

TEST(HostileScripts, BadLinesAreQuotedShortAndEscapedAndANulIsNamed) {
  const std::string long_line = "5 " + std::string(10 << 20, 'x') + " down\n";
  const std::string error = script_error(long_line);
  EXPECT_EQ(0u, error.find("key script keys, line 1: ")) << error.substr(0, 200);
  EXPECT_LT(error.size(), 300u);
  EXPECT_NE(std::string::npos, error.find("(10485767 characters)")) << error.substr(0, 200);

  const std::string controls = script_error("5 \x1b[2Jred\x07 down\n");
  EXPECT_NE(std::string::npos, controls.find("'5 \\x1b[2Jred\\x07 down'")) << controls;
  for (char c : controls) EXPECT_TRUE(c >= 0x20 && c < 0x7f) << static_cast<int>(c);

  // Whatever follows a NUL would be hidden from a reader of the message.
  EXPECT_EQ("line 3: holds a NUL byte", replay_error(header.substr(0, 23) + std::string("seed 3\0garbage\n", 15)));
  EXPECT_EQ("key script keys, line 2: holds a NUL byte",
            script_error(std::string("1 right down\n2 right up\0 # hidden\n", 34)));
}

TEST(HostileScripts, APlainKeyScriptHoldsKeyLinesOnly) {
  for (const char* junk : {"0 end of the world and more\n", "5 joyaxis banana 99999999\n", "seed 3\n",
                           "1 right down\n5 check 00ff\n", "5\n"}) {
    SCOPED_TRACE(junk);
    EXPECT_EQ(0u, script_error(junk).find("key script keys, line ")) << script_error(junk);
  }
  // A replay given as a key script is read as a replay, checked whole, and its keys play.
  replay_file parsed;
  std::string error;
  ASSERT_TRUE(parse_script_file("keys", "# a comment first\n" + header + "3 end down\n4 end up\n9 end\n",
                                script_kind::key_script, parsed, error))
      << error;
  ASSERT_EQ(2u, parsed.keys.size());
  EXPECT_EQ(SDLK_END, parsed.keys[0].key);
  EXPECT_EQ(9, parsed.end_frame);
  EXPECT_NE("accepted", script_error(header + "3 end down\n"));  // no end line
  EXPECT_EQ(0u, script_error("1 right down\n").find("accepted"));
  replay_file as_replay;
  EXPECT_FALSE(parse_script_file("r", "1 right down\n", script_kind::replay, as_replay, error));
  EXPECT_EQ("replay r, line 1: not a replay: expected 'replay 3' first", error);
}

// The recorder writes keys by name when the name reads back as that key.
TEST(HostileScripts, EveryKeyTheRecorderWritesReadsBackAsThatKey) {
  int named = 0;
  for (int k = 1; k < SDLK_LAST; ++k) {
    const std::string line = "7 " + key_name_for_script(k) + " down\n";
    std::vector<key_script_event> events;
    std::string error;
    ASSERT_TRUE(parse_key_script(line, events, error)) << line << error;
    ASSERT_EQ(1u, events.size()) << line;
    EXPECT_EQ(k, events[0].key) << line;
    named += key_name_for_script(k) != std::to_string(k);
  }
  EXPECT_GT(named, 100);  // names where SDL has one, not only numbers
}

#include "core/config_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/data_path.h"
#include "gfx/draw_memory.h"
#include "support/test_env.h"

namespace {

// Writes `text` as a file in a fresh directory and loads it.
struct loaded_file {
  config_file ini;
  std::string path;
  std::string log;
  int result = -1;
  explicit loaded_file(const std::string& text) {
    std::string dir = make_temp_dir("ini");
    write_text_file(dir, "data.ini", text);
    path = dir + "/data.ini";
    log = capture_stdout([&] { result = ini.load(path.c_str()); });
  }
};

TEST(ConfigFile, LastTokenNeedsTrailingWhitespace) {
  loaded_file with_newline("images=2 loop=1\n");
  EXPECT_EQ(1, with_newline.ini.has_key("loop"));
  EXPECT_STREQ("", with_newline.ini.dropped_token());
  loaded_file without("images=2\n\nloop=1");
  EXPECT_EQ(0, without.ini.has_key("loop"));
  EXPECT_EQ(2, without.ini.get_int("images"));
  // The checker names the dropped token and its line.
  EXPECT_STREQ("loop=1", without.ini.dropped_token());
  EXPECT_EQ(3, without.ini.dropped_line());
}

TEST(ConfigFile, EachEntryKnowsItsLine) {
  loaded_file f("\n  rate0=5 images=2\r\n\n\trate0=9\nloop=1\n");
  ASSERT_EQ(4, f.ini.entry_count());
  EXPECT_EQ(2, f.ini.line_at(0));
  EXPECT_EQ(2, f.ini.line_at(1));
  EXPECT_EQ(4, f.ini.line_at(2));
  EXPECT_EQ(5, f.ini.line_at(3));
  EXPECT_EQ(2, f.ini.line_of("rate0"));  // the first occurrence, the one that counts
  EXPECT_EQ(0, f.ini.line_of("fps"));
}

TEST(ConfigFile, TokensSplitOnWhitespaceNotLines) {
  loaded_file f("width=640 height=480\n\tbpp=32\r\n");
  EXPECT_EQ(3, f.ini.entry_count());
  EXPECT_EQ(640, f.ini.get_int("width"));
  EXPECT_EQ(480, f.ini.get_int("height"));
  EXPECT_EQ(32, f.ini.get_int("bpp"));
}

TEST(ConfigFile, FirstOccurrenceWins) {
  loaded_file f("rate0=5\nother=1\nrate0=9\n");
  EXPECT_EQ(5, f.ini.get_int("rate0"));
  EXPECT_EQ(3, f.ini.entry_count());  // every occurrence is kept
}

TEST(ConfigFile, EqualsSignRules) {
  loaded_file f("name=a=b\nx==y\n=k=v\nw=1=2=3\n");
  EXPECT_STREQ("a", f.ini.get_string("name"));
  EXPECT_STREQ("y", f.ini.get_string("x"));
  EXPECT_STREQ("v", f.ini.get_string("k"));
  EXPECT_STREQ("1", f.ini.get_string("w"));
}

TEST(ConfigFile, NumberConversion) {
  loaded_file f("speed=2.5\npx=12px\nword=x\nexp=1e2\nneg=-7\nbig=99999999999\n");
  EXPECT_EQ(2, f.ini.get_int("speed"));
  EXPECT_DOUBLE_EQ(2.5, f.ini.get_float("speed"));
  EXPECT_EQ(12, f.ini.get_int("px"));
  EXPECT_EQ(0, f.ini.get_int("word"));
  EXPECT_DOUBLE_EQ(0.0, f.ini.get_float("word"));
  EXPECT_DOUBLE_EQ(100.0, f.ini.get_float("exp"));
  EXPECT_EQ(-7, f.ini.get_int("neg"));
  EXPECT_EQ(2147483647, f.ini.get_int("big"));  // saturates, no overflow
}

TEST(ConfigFile, KeysAreCaseSensitiveAndAbsentKeysGiveDefaults) {
  loaded_file f("Width=1\n");
  EXPECT_EQ(0, f.ini.has_key("width"));
  EXPECT_EQ(0, f.ini.get_int("width"));
  EXPECT_DOUBLE_EQ(0.0, f.ini.get_float("width"));
  ASSERT_NE(nullptr, f.ini.get_string("width"));
  EXPECT_STREQ("", f.ini.get_string("width"));
}

TEST(ConfigFile, MissingFileReportsAndKeepsEntries) {
  config_file ini;
  std::string dir = make_temp_dir("ini_missing");
  write_text_file(dir, "a.ini", "a=1\n");
  std::string a = dir + "/a.ini", missing = dir + "/nope.ini";
  ini.load(a.c_str());
  int result = -1;
  std::string log = capture_stdout([&] { result = ini.load(missing.c_str()); });
  EXPECT_EQ(0, result);
  EXPECT_EQ("load config [" + missing + "]\nCan't open [" + missing + "]\n", log);
  EXPECT_EQ(1, ini.get_int("a"));
}

TEST(ConfigFile, SecondLoadAppendsAfterTheFirst) {
  std::string dir = make_temp_dir("ini_two");
  write_text_file(dir, "a.ini", "k=1\n");
  write_text_file(dir, "b.ini", "k=2\nonly_b=3\n");
  config_file ini;
  capture_stdout([&] {
    ini.load((dir + "/a.ini").c_str());
    ini.load((dir + "/b.ini").c_str());
  });
  EXPECT_EQ(1, ini.get_int("k"));
  EXPECT_EQ(3, ini.get_int("only_b"));
}

TEST(ConfigFile, BackslashNamesOpenTheHostFile) {
  std::string dir = make_temp_dir("ini_slash");
  write_text_file(dir, "game/game.ini", "fps=30\n");
  std::string name = dir + "\\game\\game.ini";
  config_file ini;
  std::string log = capture_stdout([&] { EXPECT_EQ(1, ini.load(name.c_str())); });
  EXPECT_EQ("load config [" + name + "]\n", log);  // logged as written
  EXPECT_EQ(30, ini.get_int("fps"));
}

TEST(ConfigFileHostile, OverlongTokenKeyAndValueAreTruncated) {
  std::string long_token(100000, 'a');
  std::string long_key(300, 'k');
  std::string long_value(400, 'v');
  loaded_file f(long_token + "\n" + long_key + "=1\nkey=" + long_value + "\nafter=5\n");
  EXPECT_EQ(1, f.result);
  EXPECT_EQ(5, f.ini.get_int("after"));  // reading carries on after the long token
  EXPECT_EQ(1, f.ini.get_int(std::string(254, 'k').c_str()));
  EXPECT_EQ(255u, std::string(f.ini.get_string("key")).size());
  EXPECT_EQ(4, f.ini.entry_count());
}

TEST(ConfigFileHostile, BinaryGarbageLoads) {
  std::string garbage;
  for (int i = 0; i < 20000; ++i) garbage.push_back(static_cast<char>((i * 7919) & 0xFF));
  garbage += std::string("\0\0=\0x=1\n", 8);
  garbage += "good=7\n";
  loaded_file f(garbage);
  EXPECT_EQ(1, f.result);
  EXPECT_EQ(7, f.ini.get_int("good"));
}

TEST(ConfigFileHostile, DirectoryFailsCleanly) {
  std::string dir = make_temp_dir("ini_dir");
  config_file ini;
  int result = -1;
  std::string log = capture_stdout([&] { result = ini.load(dir.c_str()); });
  EXPECT_EQ(0, result);
  EXPECT_EQ(0, ini.entry_count());
  EXPECT_EQ("load config [" + dir + "]\nERROR: [" + dir + "] refused: not a regular file (a directory)\nCan't open [" +
                dir + "]\n",
            log);
}

TEST(ConfigFileHostile, TokensWithoutKeyOrValue) {
  loaded_file f("bare\nempty=\n=\n==\nok=1\n");
  EXPECT_EQ(1, f.ini.get_int("ok"));
  EXPECT_EQ(1, f.ini.has_key("bare"));
  EXPECT_STREQ("", f.ini.get_string("empty"));
}

}  // namespace

namespace {

TEST(ConfigFileHostile, FilesOverTheCapAreRefusedAndCappedFilesLoadSmall) {
  // A file just under the cap, of the shortest distinct tokens: the entries
  // must cost about what the file does, not a fixed-size record each.
  std::string text;
  int tokens = 0;
  while (text.size() + 16 < static_cast<size_t>(max_text_file_bytes)) {
    text += "k" + std::to_string(tokens) + "=" + std::to_string(tokens % 10) + "\n";
    ++tokens;
  }
  std::string dir = make_temp_dir("ini_cap");
  write_text_file(dir, "full.ini", text);
  const long before = resident_kb();
  config_file* full = new config_file;
  capture_stdout([&] { EXPECT_EQ(1, full->load((dir + "/full.ini").c_str())); });
  const long grown_kb = resident_kb() - before;
  std::printf("memory for %d entries of a %zu-byte file: %ld kB\n", tokens, text.size(), grown_kb);
  EXPECT_EQ(tokens, full->entry_count());
  EXPECT_EQ((tokens - 3) % 10, full->get_int(("k" + std::to_string(tokens - 3)).c_str()));
  EXPECT_EQ(0, full->get_int("k0"));
  if (memory_figures_meaningful) {
    EXPECT_LT(grown_kb, 16 * 1024) << tokens << " entries";
  }
  delete full;

  write_text_file(dir, "over.ini", text + std::string(32, '\n'));
  const std::string over = dir + "/over.ini";
  config_file refused;
  int result = -1;
  std::string log = capture_stdout([&] { result = refused.load(over.c_str()); });
  EXPECT_EQ(0, result);
  EXPECT_EQ(0, refused.entry_count());
  EXPECT_EQ("load config [" + over + "]\nERROR: [" + over + "] refused: " + std::to_string(text.size() + 32) +
                " bytes, more than the 1048576 allowed for a key=value file\nCan't open [" + over + "]\n",
            log);
}

}  // namespace

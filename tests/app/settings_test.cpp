#include "app/settings.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "core/config_file.h"
#include "support/test_env.h"

namespace {

struct read_result {
  game_settings settings;
  std::string log;
};

read_result read_from(const std::string& text) {
  std::string dir = make_temp_dir("settings");
  write_text_file(dir, "game.ini", text);
  config_file ini;
  std::string path = dir + "/game.ini";
  capture_stdout([&] { ini.load(path.c_str()); });
  read_result r;
  r.log = capture_stdout([&] { r.settings = read_settings(ini); });
  return r;
}

TEST(Settings, DefaultsWhenEmpty) {
  read_result r = read_from("");
  EXPECT_EQ(640, r.settings.width);
  EXPECT_EQ(480, r.settings.height);
  EXPECT_EQ(32, r.settings.bpp);
  EXPECT_EQ(60, r.settings.fps);
  EXPECT_EQ(0x40000001u, r.settings.flags);
  EXPECT_FALSE(r.settings.hwaccel);
  EXPECT_EQ("", r.log);
}

TEST(Settings, WidthAlonePrintsNothingHeightPrintsSize) {
  read_result w = read_from("width=800\n");
  EXPECT_EQ(800, w.settings.width);
  EXPECT_EQ("", w.log);
  read_result h = read_from("height=600\n");
  EXPECT_EQ("Setting size to [640,600]\n", h.log);
  read_result both = read_from("width=800 height=600 bpp=16 fps=30\n");
  EXPECT_EQ("Setting size to [800,600]\nSetting bpp to [16]\nSetting fps to [30]\n", both.log);
}

TEST(Settings, ZeroBehavesAsAbsent) {
  read_result r = read_from("width=0 height=0 fullscreen=0 hwaccel=0 fps=0 bpp=0\n");
  EXPECT_EQ(640, r.settings.width);
  EXPECT_EQ(480, r.settings.height);
  EXPECT_EQ(0x40000001u, r.settings.flags);
  EXPECT_FALSE(r.settings.hwaccel);
  EXPECT_EQ("", r.log);
}

TEST(Settings, FlagsForFullscreenAndHwaccel) {
  read_result r = read_from("fullscreen=1 hwaccel=1\n");
  EXPECT_EQ(0x40000001u | SDL_FULLSCREEN, r.settings.flags);
  EXPECT_TRUE(r.settings.hwaccel);
}

TEST(Settings, AbsurdValuesAreRefusedWithAWarning) {
  read_result r = read_from("width=-5 height=99999999 bpp=7 fps=100000\n");
  EXPECT_EQ(640, r.settings.width);
  EXPECT_EQ(480, r.settings.height);
  EXPECT_EQ(32, r.settings.bpp);
  EXPECT_EQ(60, r.settings.fps);
  EXPECT_NE(std::string::npos, r.log.find("WARNING: game\\game.ini: width=-5"));
  EXPECT_NE(std::string::npos, r.log.find("WARNING: game\\game.ini: height=99999999"));
  EXPECT_NE(std::string::npos, r.log.find("WARNING: game\\game.ini: bpp=7"));
  EXPECT_NE(std::string::npos, r.log.find("WARNING: game\\game.ini: fps=100000"));
}

}  // namespace

namespace {

// Matches: each key read in its range, silently; outside it one WARNING naming
// the file, the key and the value, and the key stays off.
TEST(Settings, MatchKeysInRangeAreReadAndOutsideWarnAndStayOff) {
  read_result on = read_from("rounds=9\nround_time=10\ndifficulty=5\n");
  EXPECT_EQ(9, on.settings.rounds);
  EXPECT_EQ(10, on.settings.round_time);
  EXPECT_EQ(5, on.settings.difficulty);
  EXPECT_EQ("", on.log);

  read_result off = read_from("rounds=10\nround_time=9\ndifficulty=6\n");
  EXPECT_EQ(0, off.settings.rounds);
  EXPECT_EQ(0, off.settings.round_time);
  EXPECT_EQ(0, off.settings.difficulty);
  EXPECT_NE(std::string::npos, off.log.find("WARNING: game\\game.ini: rounds=10 is outside 1..9, keeping 0\n"));
  EXPECT_NE(std::string::npos, off.log.find("WARNING: game\\game.ini: round_time=9 is outside 10..999, keeping 0\n"));
  EXPECT_NE(std::string::npos, off.log.find("WARNING: game\\game.ini: difficulty=6 is outside 1..5, keeping 0\n"));

  read_result zero = read_from("rounds=0\nround_time=0\ndifficulty=-1\n");
  EXPECT_EQ(0, zero.settings.rounds);
  EXPECT_EQ(0, zero.settings.round_time);
  EXPECT_NE(std::string::npos, zero.log.find("difficulty=-1 is outside 1..5"));
  EXPECT_EQ(std::string::npos, zero.log.find("rounds="));
}

}  // namespace

namespace {

// The fight's feel keys: 1 turns each on, 0 or absent leaves it off, any other
// value is refused with a WARNING naming the file, the key and the value.
TEST(Settings, FeelKeysTakeOneAndRefuseOtherValues) {
  read_result on = read_from("push_apart=1\nhide_timing_figure=1\nhide_hit_boxes=1\n");
  EXPECT_TRUE(on.settings.push_apart);
  EXPECT_TRUE(on.settings.hide_timing_figure);
  EXPECT_TRUE(on.settings.hide_hit_boxes);
  EXPECT_EQ("", on.log);

  read_result off = read_from("push_apart=2\nhide_timing_figure=-1\nhide_hit_boxes=3\n");
  EXPECT_FALSE(off.settings.hide_hit_boxes);
  EXPECT_NE(std::string::npos, off.log.find("WARNING: game\\game.ini: hide_hit_boxes=3 is outside 0..1, keeping 0\n"));
  EXPECT_FALSE(off.settings.push_apart);
  EXPECT_FALSE(off.settings.hide_timing_figure);
  EXPECT_NE(std::string::npos, off.log.find("WARNING: game\\game.ini: push_apart=2 is outside 0..1, keeping 0\n"));
  EXPECT_NE(std::string::npos,
            off.log.find("WARNING: game\\game.ini: hide_timing_figure=-1 is outside 0..1, keeping 0\n"));
}

}  // namespace

// Broken game.ini values: zero keeps the default silently; negative and
// absurd values keep the default with a WARNING naming the file, key and value.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "core/config_file.h"
#include "support/hostile_support.h"
#include "support/test_env.h"

namespace {

struct read_result {
  game_settings settings;
  std::string log;
};

read_result read_from(const std::string& text) {
  std::string dir = make_temp_dir("hostile_ini");
  write_text_file(dir, "game.ini", text);
  read_result r;
  r.log = capture_stdout([&] {
    config_file ini;
    ini.load((dir + "/game.ini").c_str());
    r.settings = read_settings(ini);
  });
  return r;
}

}  // namespace

TEST(HostileSettings, ZeroMeansDefaultWithoutALine) {
  read_result r = read_from("fps=0\nwidth=0\nheight=0\nbpp=0\n");
  EXPECT_EQ(std::string::npos, r.log.find("WARNING"));
  EXPECT_EQ(60, r.settings.fps);
  EXPECT_EQ(640, r.settings.width);
  EXPECT_EQ(480, r.settings.height);
  EXPECT_EQ(32, r.settings.bpp);
}

TEST(HostileSettings, NegativeAndAbsurdValuesKeepTheDefault) {
  struct bad {
    const char* key;
    const char* value;
  };
  const bad cases[] = {{"fps", "-5"},         {"fps", "100000"}, {"fps", "2147483647"},
                       {"width", "-1"},       {"width", "99999999"}, {"height", "-480"},
                       {"height", "16385"},   {"bpp", "7"},      {"bpp", "-32"},
                       {"bpp", "4096"}};
  for (const bad& c : cases) {
    read_result r = read_from(std::string(c.key) + "=" + c.value + "\n");
    EXPECT_NE("", report_line(r.log, "WARNING:", {"game.ini", c.key, c.value})) << c.key << "=" << c.value;
    EXPECT_EQ(60, r.settings.fps);
    EXPECT_EQ(640, r.settings.width);
    EXPECT_EQ(480, r.settings.height);
    EXPECT_EQ(32, r.settings.bpp);
  }
}

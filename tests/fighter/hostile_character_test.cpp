// Broken and hostile character files: counts, steps, scales, speeds and sizes
// out of range give one line naming the file, the key and the value, and the
// fighter loads with safe values.
#include <gtest/gtest.h>

#include <cmath>

#include "fighter/control.h"
#include "fighter/lifeform.h"
#include "support/hostile_support.h"
#include "support/test_env.h"

namespace {

struct loaded_fighter {
  std::string file, log;
  lifeform* fighter = nullptr;  // kept: a loaded fighter lives until the program ends
};

loaded_fighter load_fighter(const std::string& text) {
  ensure_video();
  static control_map* controls = [] {
    auto* map = new control_map;
    auto* punch = new control("p1_punch", 1, 1000);
    punch->add_pair(105, 1);
    map->insert("punch", punch);
    return map;
  }();
  loaded_fighter r;
  std::string dir = make_temp_dir("hostile_char");
  write_text_file(dir, "c.ini", text);
  r.file = dir + "/c.ini";
  r.fighter = new lifeform;
  r.fighter->controls = controls;
  r.log = capture_stdout([&] { r.fighter->load(r.file.c_str()); });
  return r;
}

}  // namespace

TEST(HostileCharacter, CountsOutsideTheirLimitsAreRefused) {
  loaded_fighter r = load_fighter("hp=10\nmoves=-1\nimages=1000000\ncombos=2147483647\n");
  EXPECT_NE("", report_line(r.log, "ERROR:", {r.file, "moves", "-1"})) << r.log;
  EXPECT_NE("", report_line(r.log, "ERROR:", {r.file, "images", "1000000"}));
  EXPECT_NE("", report_line(r.log, "ERROR:", {r.file, "combos", "2147483647"}));
  EXPECT_TRUE(r.fighter->moves.empty());
  EXPECT_TRUE(r.fighter->images.empty());
  EXPECT_TRUE(r.fighter->combos->empty());
  EXPECT_NE(std::string::npos, r.log.find("Final size [0,0]"));
}

TEST(HostileCharacter, ComboStepCountsAndUnknownNames) {
  loaded_fighter r = load_fighter(
      "hp=10\ncombos=3\ncombo0moves=-4\ncombo1moves=99999\ncombo2moves=2\ncombo2move0=punch\n"
      "combo2move1=fireball\n");
  EXPECT_NE("", report_line(r.log, "ERROR:", {r.file, "combo0moves", "-4"}));
  EXPECT_NE("", report_line(r.log, "ERROR:", {r.file, "combo1moves", "99999"}));
  EXPECT_NE("", report_line(r.log, "WARNING:", {"Control [fireball] not found"}));
  ASSERT_EQ(3u, r.fighter->combos->size());
  EXPECT_EQ(0, (*r.fighter->combos)[0].reqkeys());
  EXPECT_EQ(0, (*r.fighter->combos)[1].reqkeys());
  EXPECT_EQ(1, (*r.fighter->combos)[2].reqkeys());
}

TEST(HostileCharacter, ScalesAndSpeedsThatAreNotNumbersOrOutOfRangeKeepTheDefault) {
  const char* bad_scales[] = {"0", "-2", "nan", "inf", "1e308"};
  for (const char* v : bad_scales) {
    loaded_fighter r = load_fighter(std::string("hp=1\nscale=") + v + "\nspeed=" + v + "\n");
    EXPECT_NE("", report_line(r.log, "ERROR:", {r.file, "[scale]", std::string("[") + v + "]"})) << r.log;
    EXPECT_EQ(1.0, r.fighter->scale) << v;
    if (std::string(v) == "0") {
      EXPECT_EQ(0.0, r.fighter->speed);  // a speed of 0 is allowed: the fighter stands still
    } else {
      EXPECT_NE("", report_line(r.log, "ERROR:", {r.file, "[speed]", std::string("[") + v + "]"}));
      EXPECT_EQ(1.0, r.fighter->speed) << v;
    }
  }
}

TEST(HostileCharacter, MoveScaleAndSizeOverrides) {
  loaded_fighter r = load_fighter("hp=1\nmoves=1\nmove0=nothing.ini\nmove0scale=nan\nwidth=-5\nheight=99999999\n");
  EXPECT_NE("", report_line(r.log, "ERROR:", {r.file, "move0scale", "nan"})) << r.log;
  EXPECT_NE("", report_line(r.log, "ERROR:", {r.file, "width", "-5"}));
  EXPECT_NE("", report_line(r.log, "ERROR:", {r.file, "height", "99999999"}));
  ASSERT_EQ(1u, r.fighter->moves.size());
  EXPECT_EQ(1.0, r.fighter->moves[0]->animations[0]->scale);
  EXPECT_EQ(0, r.fighter->width);
  EXPECT_EQ(0, r.fighter->height);
}

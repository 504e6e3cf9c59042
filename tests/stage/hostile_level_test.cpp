// Broken and hostile level, background-set and sortie files: bad counts,
// indices and scales give one line naming the file, the key and the value;
// the stage loads what it can and draws.
#include <gtest/gtest.h>

#include "stage/level.h"
#include "support/hostile_support.h"
#include "support/test_env.h"

namespace {

struct loaded_level {
  std::string dir, level_file, bgset_file, log;
  level* stage = nullptr;
};

// Writes a level file (`level_text`, where @DIR@ stands for the directory), a
// background-set file and a sortie file s.ini; loads and draws the stage.
loaded_level load_level(const std::string& level_text, const std::string& bgset_text,
                        const std::string& sortie_text = "enemies=1\n") {
  ensure_video();
  loaded_level r;
  r.dir = make_temp_dir("hostile_level");
  r.level_file = r.dir + "/l.ini";
  r.bgset_file = r.dir + "/b.ini";
  std::string text = level_text;
  for (size_t at; (at = text.find("@DIR@")) != std::string::npos;) text.replace(at, 5, r.dir);
  write_text_file(r.dir, "l.ini", "bgset=" + r.bgset_file + "\n" + text);
  write_text_file(r.dir, "b.ini", bgset_text);
  write_text_file(r.dir, "s.ini", sortie_text);
  r.stage = new level;
  level* saved = g_level;
  g_level = r.stage;
  r.log = capture_stdout([&] {
    r.stage->load(r.level_file.c_str());
    r.stage->zoom = 0.7;
    r.stage->advance();
    r.stage->draw();
  });
  g_level = saved;
  return r;
}

}  // namespace

TEST(HostileLevel, PictureCountsAndPartCounts) {
  loaded_level neg = load_level("length=-3\n", "images=-2\n");
  EXPECT_NE("", report_line(neg.log, "ERROR:", {neg.bgset_file, "images", "-2"})) << neg.log;
  EXPECT_NE("", report_line(neg.log, "ERROR:", {neg.level_file, "length", "-3"}));
  EXPECT_TRUE(neg.stage->images.empty());
  EXPECT_EQ(0, neg.stage->length);
  delete neg.stage;

  loaded_level huge = load_level("length=2147483647\n", "images=1\nimage0=nothing.png\n");
  EXPECT_NE("", report_line(huge.log, "WARNING:", {huge.level_file, "length", "2147483647"}));
  EXPECT_EQ(max_level_parts, huge.stage->length);
  delete huge.stage;
}

TEST(HostileLevel, IndicesOutsideTheBackgroundSetAreIgnored) {
  loaded_level r = load_level(
      "length=2\npart0=0\npart1=7\npart0parallax=2\npart0parallax0=-1\npart0parallax1=0\nfloor=5\n",
      "images=1\nimage0=nothing.png\n");
  EXPECT_NE("", report_line(r.log, "ERROR:", {r.level_file, "part1", "7"})) << r.log;
  EXPECT_NE("", report_line(r.log, "ERROR:", {r.level_file, "part0parallax0", "-1"}));
  EXPECT_NE("", report_line(r.log, "ERROR:", {r.level_file, "floor", "5"}));
  EXPECT_EQ(1u, r.stage->plist.size());
  ASSERT_EQ(1u, r.stage->layered_segments.size());
  EXPECT_EQ(std::vector<int>{0}, r.stage->layered_segments[0]->layers);
  EXPECT_EQ(-1, r.stage->floor);
  delete r.stage;
}

TEST(HostileLevel, LayerCountsAndSorties) {
  loaded_level r = load_level(
      "length=13\npart0=0\npart0parallax=2147483647\npart0sortie=@DIR@/s.ini\npart12sortie=@DIR@/s.ini\n",
      "images=1\nimage0=nothing.png\n", "enemies=50\n");
  const std::string s = r.dir + "/s.ini";
  EXPECT_NE("", report_line(r.log, "WARNING:", {r.level_file, "part0parallax", "2147483647"}));
  EXPECT_NE("", report_line(r.log, "WARNING:", {s, "enemies", "50"}));
  EXPECT_NE("", report_line(r.log, "ERROR:", {r.level_file, "part12sortie"}));
  EXPECT_EQ(max_sorties, r.stage->sorties[0].size);
  for (int n = 1; n < max_sorties; ++n) EXPECT_EQ(0, r.stage->sorties[n].size);
  delete r.stage;
}

TEST(HostileLevel, ScalesThatAreNotNumbersOrOutOfRange) {
  const char* bad[] = {"0", "-1", "nan", "1e308", "inf"};
  for (const char* v : bad) {
    loaded_level r = load_level(std::string("length=1\npart0=0\nscale=") + v + "\n", "images=1\nimage0=nothing.png\n");
    EXPECT_NE("", report_line(r.log, "ERROR:", {r.level_file, "scale"})) << v << "\n" << r.log;
    EXPECT_EQ(1.0, r.stage->scale) << v;
    delete r.stage;
  }
}

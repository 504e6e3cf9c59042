// The generated data files: the keys the game reads, with values that make a
// playable fight.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <vector>

#include "tree_reader.h"

namespace {
const std::set<std::string> kControls = {"up", "noup", "down", "left", "right", "punch", "kick"};

std::string char_file(const char* fighter) { return std::string("game\\fighter\\") + fighter + "_char.ini"; }

TEST(GeneratedDataFiles, EveryDataFileEndsWithALineBreak) {
  // The reader drops a last token that is not followed by whitespace.
  std::string root = shared_tree();
  int checked = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
    if (e.path().extension() != ".ini") continue;
    auto bytes = read_bytes(e.path().string());
    ASSERT_FALSE(bytes.empty()) << e.path();
    EXPECT_EQ(bytes.back(), '\n') << e.path();
    for (uint8_t b : bytes) ASSERT_TRUE(b == '\n' || (b >= 0x21 && b < 0x7f)) << e.path() << " has a stray byte";
    ++checked;
  }
  EXPECT_GT(checked, 50);
}

TEST(GeneratedDataFiles, GameSettingsAreSoftwareModeAtSixtyFps) {
  DataFile g = read_data_file(shared_tree(), "game\\game.ini");
  ASSERT_TRUE(g.opened);
  EXPECT_EQ(g.num("width"), 640);
  EXPECT_EQ(g.num("height"), 480);
  EXPECT_EQ(g.num("bpp"), 32);
  EXPECT_EQ(g.num("fps"), 60);
  EXPECT_EQ(g.num("hwaccel"), 0);
  EXPECT_EQ(g.num("fullscreen"), 0);
}

TEST(GeneratedDataFiles, CharacterFilesHaveAllSlotsPosturesAndThreeCombos) {
  std::string root = shared_tree();
  for (const char* f : kFighters) {
    SCOPED_TRACE(f);
    DataFile c = read_data_file(root, char_file(f));
    ASSERT_TRUE(c.opened);
    EXPECT_GT(c.num("hp"), 0);
    // A walk of 1/speed pixels per frame between 3 and 5 feels right at 60 fps.
    ASSERT_TRUE(c.has("speed"));
    double per_frame = 1.0 / c.real("speed");
    EXPECT_GE(per_frame, 3.0);
    EXPECT_LE(per_frame, 5.0);
    EXPECT_NEAR(c.real("scale"), 1.0, 0.25);
    ASSERT_EQ(c.num("moves"), 16);
    for (int i = 0; i < 16; ++i) EXPECT_FALSE(c.str("move" + std::to_string(i)).empty()) << "move" << i;
    ASSERT_EQ(c.num("images"), 9);
    for (int i = 0; i < 9; ++i) EXPECT_FALSE(c.str("image" + std::to_string(i)).empty()) << "image" << i;

    ASSERT_EQ(c.num("combos"), 3);
    std::set<int> types;
    std::set<std::string> patterns;
    std::vector<std::vector<std::string>> sequences;
    for (int k = 0; k < 3; ++k) {
      std::string p = "combo" + std::to_string(k);
      types.insert(c.num(p + "move"));
      int steps = c.num(p + "moves");
      EXPECT_GE(steps, 2);
      std::string pattern;
      std::vector<std::string> sequence;
      for (int s = 0; s < steps; ++s) {
        std::string step = c.str(p + "move" + std::to_string(s));
        EXPECT_TRUE(kControls.count(step)) << p << " step " << s << " '" << step << "'";
        // A held key counts as seen again, so a repeated step adds nothing.
        if (!sequence.empty()) {
          EXPECT_NE(sequence.back(), step) << p << " repeats " << step;
        }
        pattern += step + " ";
        sequence.push_back(step);
      }
      sequences.push_back(sequence);
      // "left" needs two keys at once, so a combo can never start with it.
      EXPECT_NE(c.str(p + "move0"), "left") << p;
      patterns.insert(pattern);
    }
    EXPECT_EQ(types, (std::set<int>{1, 2, 3}));
    EXPECT_EQ(patterns.size(), 3u) << "two combos share one key pattern";
    // Keys may be held while the next is pressed, so a combo whose steps occur
    // in order within another's would fire whenever the other is entered.
    for (size_t a = 0; a < sequences.size(); ++a) {
      for (size_t b = 0; b < sequences.size(); ++b) {
        if (a == b) continue;
        size_t matched = 0;
        for (const std::string& step : sequences[b]) {
          if (matched < sequences[a].size() && sequences[a][matched] == step) ++matched;
        }
        EXPECT_LT(matched, sequences[a].size()) << "combo" << a << " fires inside combo" << b;
      }
    }
  }
}

TEST(GeneratedDataFiles, MoveAnimationsSuitTheirSlots) {
  std::string root = shared_tree();
  for (const char* f : kFighters) {
    SCOPED_TRACE(f);
    DataFile c = read_data_file(root, char_file(f));
    for (int slot = 0; slot < 16; ++slot) {
      SCOPED_TRACE("slot " + std::to_string(slot));
      DataFile a = read_data_file(root, c.str("move" + std::to_string(slot)));
      ASSERT_TRUE(a.opened);
      int n = a.num("images");
      EXPECT_GE(n, 3);
      EXPECT_LE(n, 8);
      // Attacks, reactions, the special, the projectile and the dash all end.
      EXPECT_EQ(a.num("loop"), 0);
      int fires = 0, total = 0;
      for (int i = 0; i < n; ++i) {
        std::string s = std::to_string(i);
        EXPECT_GE(a.num("rate" + s), 1);
        total += a.num("rate" + s);
        if (a.num("fire" + s)) ++fires;
        // A frame's sound restarts on every tick it shows: keep those frames one tick.
        if (a.has("sound" + s)) {
          EXPECT_EQ(a.num("rate" + s), 1) << "frame " << i;
        }
      }
      EXPECT_LE(total, 60) << "longer than a second";
      EXPECT_EQ(fires, slot == 12 ? 1 : 0);
      if (slot == 12) {
        bool shake = false, flash = false;
        for (int i = 0; i < n; ++i) {
          shake |= a.num("shake" + std::to_string(i)) > 0;
          flash |= a.num("flash" + std::to_string(i)) > 0 && a.num("flashrate" + std::to_string(i)) > 0;
        }
        EXPECT_TRUE(shake);
        EXPECT_TRUE(flash);
      }
      bool impact_slot = slot == 0 || slot == 3 || (slot >= 4 && slot <= 12) || slot == 1 || slot == 15;
      if (impact_slot) {
        bool sound = false;
        for (int i = 0; i < n; ++i) sound |= a.has("sound" + std::to_string(i));
        EXPECT_TRUE(sound) << "no sound on an impact frame";
      }
    }
  }
}

TEST(GeneratedDataFiles, LoadingAnimationLoopsOverFullWidthFrames) {
  std::string root = shared_tree();
  DataFile a = read_data_file(root, "game\\fighter\\loading.ini");
  ASSERT_TRUE(a.opened);
  EXPECT_EQ(a.num("loop"), 1);
  ASSERT_GE(a.num("images"), 3);
  for (int i = 0; i < a.num("images"); ++i) {
    Picture p = read_png(on_disk(root, a.str("image" + std::to_string(i))));
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(p.w, 640);
    EXPECT_LE(p.h, 100);
  }
}

TEST(GeneratedDataFiles, StageFilesDescribeALayeredScrollingStage) {
  std::string root = shared_tree();
  DataFile l = read_data_file(root, "rsrc\\veltmoore\\stage_veltmoore.ini");
  ASSERT_TRUE(l.opened);
  DataFile set = read_data_file(root, l.str("bgset"));
  ASSERT_TRUE(set.opened);
  int m = set.num("images");
  ASSERT_GE(m, 4);
  EXPECT_EQ(l.num("length"), 1);
  EXPECT_DOUBLE_EQ(l.real("scale"), 1.0);
  auto index_ok = [m](int i) { return i >= 0 && i < m; };
  for (const char* k : {"part0", "floor", "part0parallax0", "part0parallax1"}) {
    ASSERT_TRUE(l.has(k)) << k;
    EXPECT_TRUE(index_ok(l.num(k))) << k;
  }
  EXPECT_EQ(l.num("part0parallax"), 2);
  // Picture 0 sets the bottom piece's place. Zoomed out to 0.4 (fighters at
  // both ends of the stage) it must still reach the top of a 480-high screen,
  // and the layers drawn over it share its height so their bottoms line up.
  Picture ground = read_png(on_disk(root, set.str("image0")));
  ASSERT_TRUE(ground.ok());
  EXPECT_GE(ground.h * 0.4, 480.0);
  for (const char* k : {"part0parallax0", "part0parallax1"}) {
    Picture layer = read_png(on_disk(root, set.str("image" + std::to_string(l.num(k)))));
    EXPECT_EQ(layer.h, ground.h) << k;
  }
  // Wide enough for the camera to scroll, and the layers as wide as the piece.
  int part0 = l.num("part0");
  Picture piece = read_png(on_disk(root, set.str("image" + std::to_string(part0))));
  EXPECT_GE(piece.w, 1280);
  for (const char* k : {"part0parallax0", "part0parallax1", "floor"}) {
    Picture p = read_png(on_disk(root, set.str("image" + std::to_string(l.num(k)))));
    ASSERT_TRUE(p.ok()) << k;
    EXPECT_EQ(p.w, piece.w) << k;
  }
  for (const char* k : {"part0sortie"}) {
    DataFile s = read_data_file(root, l.str(k));
    ASSERT_TRUE(s.opened) << k;
    EXPECT_GE(s.num("enemies"), 1);
    EXPECT_LE(s.num("enemies"), 11);
    for (int e = 0; e < s.num("enemies"); ++e) EXPECT_TRUE(s.has("enemy" + std::to_string(e))) << k;
  }
}

}  // namespace

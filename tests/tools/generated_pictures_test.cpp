// The generated pictures: keyed on pure green with no stray green, costume
// colours that the human's recolouring swaps, consistent fighter frames.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "tree_reader.h"

namespace {
struct Rgb {
  int r, g, b;
};
const Rgb kSwapFrom[5] = {{252, 244, 255}, {166, 154, 204}, {91, 74, 97}, {41, 31, 50}, {160, 124, 145}};

bool is_key(const uint8_t* p) { return p[0] == 0 && p[1] == 255 && p[2] == 0; }
// Close to the key without being it: would read as a green fringe, or be
// taken for transparency by a converter.
bool near_key(const uint8_t* p) {
  return !is_key(p) && std::abs(p[0]) + std::abs(p[1] - 255) + std::abs(p[2]) <= 48;
}

struct KeyStats {
  int key = 0, near = 0, opaque_alpha_missing = 0;
};
KeyStats scan(const Picture& p) {
  KeyStats s;
  for (int y = 0; y < p.h; ++y)
    for (int x = 0; x < p.w; ++x) {
      const uint8_t* px = p.at(x, y);
      if (is_key(px)) ++s.key;
      if (near_key(px)) ++s.near;
      if (px[3] != 255) ++s.opaque_alpha_missing;
    }
  return s;
}

// Every picture a fighter file names for the fighter itself: postures and move
// frames, without the projectile slot.
std::set<std::string> fighter_pictures(const std::string& root, const std::string& fighter) {
  std::set<std::string> out;
  DataFile c = read_data_file(root, "game\\fighter\\" + fighter + "_char.ini");
  for (int i = 0; i < c.num("images"); ++i) out.insert(c.str("image" + std::to_string(i)));
  for (int m = 0; m < c.num("moves"); ++m) {
    if (m == 13) continue;
    DataFile a = read_data_file(root, c.str("move" + std::to_string(m)));
    for (int i = 0; i < a.num("images"); ++i) out.insert(a.str("image" + std::to_string(i)));
  }
  return out;
}

std::vector<std::string> projectile_pictures(const std::string& root, const std::string& fighter) {
  std::vector<std::string> out;
  DataFile c = read_data_file(root, "game\\fighter\\" + fighter + "_char.ini");
  DataFile a = read_data_file(root, c.str("move13"));
  for (int i = 0; i < a.num("images"); ++i) out.push_back(a.str("image" + std::to_string(i)));
  return out;
}

void expect_keyed(const std::string& root, const std::string& name) {
  SCOPED_TRACE(name);
  Picture p = read_png(on_disk(root, name));
  ASSERT_TRUE(p.ok());
  EXPECT_TRUE(is_key(p.at(0, 0))) << "corner is not transparent";
  KeyStats s = scan(p);
  EXPECT_GT(s.key, 0);
  EXPECT_LT(s.key, p.w * p.h) << "nothing drawn";
  EXPECT_EQ(s.near, 0) << "pixels close to the key colour";
  EXPECT_EQ(s.opaque_alpha_missing, 0);
}

void expect_opaque(const std::string& root, const std::string& name, int w, int h) {
  SCOPED_TRACE(name);
  Picture p = read_png(on_disk(root, name));
  ASSERT_TRUE(p.ok());
  EXPECT_EQ(p.w, w);
  EXPECT_EQ(p.h, h);
  KeyStats s = scan(p);
  EXPECT_EQ(s.key, 0) << "an opaque picture would show holes";
  EXPECT_EQ(s.opaque_alpha_missing, 0);
}

TEST(GeneratedPictures, FighterFramesAreKeyedSameSizedAndWearSwapColours) {
  std::string root = shared_tree();
  for (const char* f : kFighters) {
    SCOPED_TRACE(f);
    auto pics = fighter_pictures(root, f);
    ASSERT_GE(pics.size(), 30u);
    std::set<int> colours_used;
    int w = 0, h = 0;
    for (const auto& name : pics) {
      SCOPED_TRACE(name);
      Picture p = read_png(on_disk(root, name));
      ASSERT_TRUE(p.ok());
      // Frames are drawn from the same corner, so one size keeps the figure still.
      if (w == 0) w = p.w, h = p.h;
      EXPECT_EQ(p.w, w);
      EXPECT_EQ(p.h, h);
      EXPECT_TRUE(is_key(p.at(0, 0)));
      EXPECT_TRUE(is_key(p.at(p.w - 1, 0)));
      KeyStats s = scan(p);
      EXPECT_EQ(s.near, 0);
      std::set<int> here;
      for (int i = 0; i < p.w * p.h; ++i)
        for (int k = 0; k < 5; ++k) {
          const uint8_t* px = &p.rgba[static_cast<size_t>(i) * 4];
          if (px[0] == kSwapFrom[k].r && px[1] == kSwapFrom[k].g && px[2] == kSwapFrom[k].b) here.insert(k);
        }
      EXPECT_FALSE(here.empty()) << "no recolourable costume";
      colours_used.insert(here.begin(), here.end());
    }
    EXPECT_GE(colours_used.size(), 3u) << "too few recolourable tones for a second costume";
    EXPECT_GE(w, 100);
    EXPECT_LE(w, 200);
    EXPECT_GE(h, 160);
    EXPECT_LE(h, 240);
  }
}

TEST(GeneratedPictures, StandingFigureRestsOnTheBottomEdge) {
  // The fight puts a fighter's bottom edge on the floor; a gap would float it.
  std::string root = shared_tree();
  for (const char* f : kFighters) {
    DataFile c = read_data_file(root, std::string("game\\fighter\\") + f + "_char.ini");
    Picture p = read_png(on_disk(root, c.str("image0")));
    ASSERT_TRUE(p.ok()) << f;
    int lowest = -1;
    for (int y = 0; y < p.h; ++y)
      for (int x = 0; x < p.w; ++x)
        if (!is_key(p.at(x, y))) lowest = y;
    EXPECT_GE(lowest, p.h - 4) << f;
  }
}

TEST(GeneratedPictures, OtherKeyedPicturesHaveCleanTransparency) {
  std::string root = shared_tree();
  expect_keyed(root, "rsrc\\brela\\special\\brela_bullet1.png");
  const char* shots[4] = {"brela_action_shot.png", "kastrell_action_shot_ha.png", "morvane_action_shot.png",
                          "dravitz_action_shot.png"};
  for (int i = 0; i < 4; ++i) {
    std::string n = kFighters[i];
    expect_keyed(root, "rsrc\\" + n + "\\" + n + "_symbol.png");
    expect_keyed(root, "rsrc\\" + n + "\\" + shots[i]);
    for (const auto& ball : projectile_pictures(root, n)) expect_keyed(root, ball);
  }
  DataFile loading = read_data_file(root, "game\\fighter\\loading.ini");
  for (int i = 0; i < loading.num("images"); ++i) expect_keyed(root, loading.str("image" + std::to_string(i)));
  DataFile level = read_data_file(root, "rsrc\\veltmoore\\stage_veltmoore.ini");
  DataFile set = read_data_file(root, level.str("bgset"));
  for (const char* k : {"part0parallax0", "part0parallax1"})
    expect_keyed(root, set.str("image" + std::to_string(level.num(k))));
}

TEST(GeneratedPictures, OpaquePicturesHaveNoTransparentPixels) {
  std::string root = shared_tree();
  expect_opaque(root, "rsrc\\dmk_logo2_640x480.png", 640, 480);
  expect_opaque(root, "rsrc\\QZ_group_redo_rough_640x480.png", 640, 480);
  DataFile level = read_data_file(root, "rsrc\\veltmoore\\stage_veltmoore.ini");
  DataFile set = read_data_file(root, level.str("bgset"));
  for (const char* k : {"part0", "floor"}) {
    std::string name = set.str("image" + std::to_string(level.num(k)));
    Picture p = read_png(on_disk(root, name));
    ASSERT_TRUE(p.ok()) << name;
    expect_opaque(root, name, p.w, p.h);
  }
}

TEST(GeneratedPictures, ProjectileFramesMatchTheSlotsThatPlayThem) {
  // A bullet's box is its first frame; the frames must stay smaller than a fighter.
  std::string root = shared_tree();
  for (const char* f : kFighters) {
    auto balls = projectile_pictures(root, f);
    ASSERT_GE(balls.size(), 3u) << f;
    for (const auto& b : balls) {
      Picture p = read_png(on_disk(root, b));
      ASSERT_TRUE(p.ok()) << b;
      EXPECT_LE(p.w, 96) << b;
      EXPECT_LE(p.h, 64) << b;
    }
  }
}

}  // namespace

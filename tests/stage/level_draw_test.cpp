#include <gtest/gtest.h>

#include <string>

#include "support/test_media.h"
#include "gfx/zoom_window.h"
#include "stage/level.h"
#include "support/test_env.h"

namespace {

// Every column of a stage picture says where it is: red = x mod 256,
// blue = x / 256 * 30 + `tint`, never pure green.
rgb column_colour(int x, int tint) { return {x & 0xFF, 40, (x >> 8) * 30 + tint}; }

class LevelDraw : public testing::Test {
 protected:
  void SetUp() override {
    ensure_video();
    dir = make_temp_dir("draw");
    SDL_FillRect(g_video.screen, nullptr, 0);
  }

  // Adds a picture to the level's set; returns its index.
  int add_picture(level& l, int w, int h, int tint, bool keyed_top_half = false) {
    std::string name = "p" + std::to_string(l.images.size()) + ".png";
    std::string path = write_picture(dir, name, w, h, [=](int x, int y) {
      if (keyed_top_half && y < h / 2) return rgb{0, 255, 0};
      return column_colour(x, tint);
    });
    l.images.reserve(16);
    img_mgr picture;
    picture.load(path.c_str());
    picture.no_zoom_cache = 1;
    l.images.push_back(picture);
    if (w > l.max_width) l.max_width = w;
    if (h > l.max_height) l.max_height = h;
    return static_cast<int>(l.images.size()) - 1;
  }

  // Inserts a piece in front of the others, as the loader does.
  void add_piece(level& l, int picture, std::vector<int> layers = {}) {
    l.plist.emplace_front(l.images[picture]);
    l.layered_segments.insert(l.layered_segments.begin(), std::make_unique<layered_segment>(layered_segment{layers}));
    l.total_height += l.images[picture].height;
  }

  std::string dir;
};

TEST_F(LevelDraw, FlatPieceShowsTheScrolledWindowUnzoomed) {
  level l;
  int p = add_picture(l, 1000, 100, 0);
  add_piece(l, p);
  l.base_y = 380;
  l.scroll_x = 100;
  l.zoom = 0.6;  // without layers nothing is zoomed
  l.draw();
  EXPECT_EQ(column_colour(100, 0), screen_pixel(0, 380));
  EXPECT_EQ(column_colour(400, 0), screen_pixel(300, 479));
  EXPECT_EQ(column_colour(739, 0), screen_pixel(639, 430));
  EXPECT_EQ((rgb{0, 0, 0}), screen_pixel(10, 379));
}

TEST_F(LevelDraw, PiecesStackUpwardsFromBaseY) {
  level l;
  int ground = add_picture(l, 700, 100, 0);
  int above = add_picture(l, 700, 50, 100);
  add_piece(l, ground);
  add_piece(l, above);  // inserted last: first in plist, drawn above
  l.base_y = 380;
  l.draw();
  // Each piece sits at base_y minus the heights of the pieces after it.
  EXPECT_EQ(column_colour(5, 0), screen_pixel(5, 380));
  EXPECT_EQ((rgb{0, 0, 0}), screen_pixel(5, 379));
  EXPECT_EQ((rgb{0, 0, 0}), screen_pixel(5, 330));
  EXPECT_EQ(column_colour(5, 100), screen_pixel(5, 329));
  EXPECT_EQ(column_colour(5, 100), screen_pixel(5, 280));
  EXPECT_EQ((rgb{0, 0, 0}), screen_pixel(5, 279));
}

TEST_F(LevelDraw, PiecesAtTheScreenEdgesAreSkipped) {
  for (int base_y : {480, -100, -99, 479}) {
    SDL_FillRect(g_video.screen, nullptr, 0);
    level l;
    add_piece(l, add_picture(l, 700, 100, 0));
    l.base_y = base_y;
    l.draw();
    bool drawn = base_y == -99 || base_y == 479;
    int row = base_y == -99 ? 0 : 479;
    rgb expected = drawn ? column_colour(3, 0) : rgb{0, 0, 0};
    EXPECT_EQ(expected, screen_pixel(3, row)) << base_y;
  }
}

TEST_F(LevelDraw, OneLayerScrollsFasterThanItsPiece) {
  level l;
  int back = add_picture(l, 1000, 200, 0);
  int near = add_picture(l, 1000, 200, 100, true);  // top half transparent
  add_piece(l, back, {near});
  l.base_y = 280;
  l.scroll_x = 200;  // dx = (1000 - 640) / 4 = 90
  l.draw();
  EXPECT_EQ(column_colour(190, 0), screen_pixel(0, 300));      // piece: 200 / 2 + 90
  EXPECT_EQ(column_colour(390, 0), screen_pixel(200, 300));
  EXPECT_EQ(column_colour(200, 100), screen_pixel(0, 470));    // layer: one to one
  EXPECT_EQ(column_colour(479, 100), screen_pixel(279, 470));
}

// Scrolled so far that both windows would run past the pictures' right edge
// (and leave the screen's right side bare), they stop at that edge instead.
TEST_F(LevelDraw, WindowsStopAtTheirPicturesRightEdge) {
  level l;
  int back = add_picture(l, 1000, 200, 0);
  int near = add_picture(l, 1000, 200, 100, true);
  add_piece(l, back, {near});
  l.base_y = 280;
  l.scroll_x = 800;  // asks for the piece from 800 / 2 + 90 = 490, the layer from 800
  l.draw();
  // 640 columns and one spare end at column 999: both windows start at 359.
  EXPECT_EQ(column_colour(359, 0), screen_pixel(0, 300));
  EXPECT_EQ(column_colour(998, 0), screen_pixel(639, 300));
  EXPECT_EQ(column_colour(359, 100), screen_pixel(0, 470));
  EXPECT_EQ(column_colour(998, 100), screen_pixel(639, 470));
}

TEST_F(LevelDraw, VerticalScrollOffsetsLayerWindows) {
  level l;
  int back = add_picture(l, 640, 200, 0);
  add_piece(l, back, {back});
  l.max_height = 480;  // dy = 0
  l.base_y = 280;
  l.scroll_y = 20;
  l.draw();
  // Far copy: window from y = 20 / 2 = 10, drawn at y = 280: its last 10 rows are empty.
  EXPECT_EQ(column_colour(7, 0), screen_pixel(7, 469));
}

TEST_F(LevelDraw, FloorIsDrawnOnlyWhenSet) {
  for (int with_floor = 0; with_floor < 2; ++with_floor) {
    SDL_FillRect(g_video.screen, nullptr, 0);
    level l;
    int back = add_picture(l, 640, 100, 0, true);
    int near = add_picture(l, 640, 100, 0, true);
    int ground = add_picture(l, 640, 60, 200);
    add_piece(l, back, {near});
    l.base_y = 380;
    l.zoom = 0.9;
    if (with_floor) l.floor = ground;
    l.draw();
    int floor_rows = 0;
    for (int y = 0; y < 480; ++y) {
      rgb c = screen_pixel(320, y);
      if (c.b >= 200) ++floor_rows;
    }
    if (with_floor) {
      EXPECT_GT(floor_rows, 30);
    } else {
      EXPECT_EQ(0, floor_rows);
    }
  }
}

// The floor rises with the vertical scroll, scaled by the zoom like the rest
// of the stage: 30 pixels of scroll at zoom 0.8 lift it 24 rows.
TEST_F(LevelDraw, FloorFollowsTheVerticalScrollTimesTheZoom) {
  level l;
  int ground = add_picture(l, 1600, 300, 0);
  int near_layer = add_picture(l, 1600, 300, 60, true);
  l.floor = add_picture(l, 1600, 80, 200);
  add_piece(l, ground, {near_layer});
  l.base_y = 180;
  l.zoom = 0.8;
  int top_row[2] = {-1, -1};
  for (int k = 0; k < 2; ++k) {
    SDL_FillRect(g_video.screen, nullptr, 0);
    l.scroll_y = 30 * k;
    l.draw();
    for (int row = 0; row < 480 && top_row[k] < 0; ++row) {
      if (screen_pixel(5, row).b >= 200) top_row[k] = row;  // only the floor is that blue here
    }
  }
  ASSERT_GT(top_row[0], 0);
  EXPECT_EQ(top_row[0] - 24, top_row[1]);
}

TEST_F(LevelDraw, ShakeAlternatesAndDecaysEachTickButNotWhileHeld) {
  level l;
  l.shake = 6;
  std::vector<int> seen;
  for (int i = 0; i < 7; ++i) {
    l.advance();
    seen.push_back(l.shake);
  }
  EXPECT_EQ((std::vector<int>{-5, 4, -3, 2, -1, 0, 0}), seen);
  l.shake = 1;
  l.advance();
  EXPECT_EQ(0, l.shake);
  l.shake = 6;
  l.flash = 90;
  l.flash_rate = 25;
  l.advance(true);  // a paused fight: the stage keeps its effects
  EXPECT_EQ(6, l.shake);
  EXPECT_EQ(90, l.flash);
  EXPECT_EQ(90, l.flash_shown);
}

TEST_F(LevelDraw, ShakeMovesTheWindow) {
  level l;
  add_piece(l, add_picture(l, 700, 100, 0));
  l.base_y = 380;
  l.scroll_x = 50;
  l.shake = 6;
  l.advance();  // offset -5
  l.draw();
  EXPECT_EQ(column_colour(45, 0), screen_pixel(0, 400));
  l.advance();  // offset 4
  l.draw();
  EXPECT_EQ(column_colour(54, 0), screen_pixel(0, 400));
}

// Each tick's draw shows the flash as it was before that tick faded it.
TEST_F(LevelDraw, FlashFadesByItsRate) {
  level l;
  l.flash = 200;
  l.flash_rate = 25;
  int previous = 256;
  for (int i = 0; i < 8; ++i) {
    SDL_FillRect(g_video.screen, nullptr, 0);
    l.advance();
    l.draw();
    int alpha = 200 - 25 * i;
    rgb c = screen_pixel(100, 100);
    EXPECT_NEAR(alpha, c.r, 3) << "draw " << i;
    EXPECT_EQ(c.r, c.g);
    EXPECT_LT(c.r, previous);
    previous = c.r;
    EXPECT_EQ(std::max(0, alpha - 25), l.flash);
  }
  SDL_FillRect(g_video.screen, nullptr, 0);
  l.advance();
  l.draw();
  EXPECT_EQ((rgb{0, 0, 0}), screen_pixel(100, 100));
}

TEST_F(LevelDraw, FlashWithoutRateStaysAndBadValuesStayInRange) {
  level l;
  l.flash = 90;
  l.flash_rate = 0;
  for (int i = 0; i < 5; ++i) l.advance();
  EXPECT_EQ(90, l.flash);
  l.flash = 2147483647;
  l.flash_rate = -2147483647;
  l.advance();
  EXPECT_EQ(2147483647, l.flash);  // held at the top instead of overflowing
  l.shake = -2147483647 - 1;
  l.advance();
  EXPECT_EQ(2147483646, l.shake);  // negated without overflow, one step toward zero
}

TEST_F(LevelDraw, ZoomIsMultipliedByScaleOncePerTick) {
  level l;
  l.zoom = 0.8;
  l.scale = 0.5;
  l.advance(true);
  EXPECT_DOUBLE_EQ(0.4, l.zoom);
  l.draw();
  EXPECT_DOUBLE_EQ(0.4, l.zoom);
}

TEST_F(LevelDraw, LoadingFlagNarratesEachDraw) {
  level l;
  l.total_height = 77;
  l.loading = 1;
  EXPECT_EQ("looping through sz[77] worth of pickles\n", capture_stdout([&] { l.draw(); }));
}

}  // namespace

namespace {

// The picture code's zoom window path must leave every pixel of the stage as
// the straightforward path draws it, over a sweep of cameras.
TEST_F(LevelDraw, ZoomWindowPathDrawsTheSamePixels) {
  level l;
  int ground = add_picture(l, 1600, 300, 0);
  int far_layer = add_picture(l, 1600, 300, 60, true);
  int near_layer = add_picture(l, 1600, 300, 120, true);
  int floor_picture = add_picture(l, 1600, 80, 200);
  add_piece(l, ground, {far_layer, near_layer});
  l.floor = floor_picture;
  l.base_y = 180;
  SDL_Surface* s = g_video.screen;
  for (int frame = 0; frame < 6; ++frame) {
    std::vector<uint8_t> screens[2];
    for (int fast = 0; fast < 2; ++fast) {
      set_zoom_fast_path(fast == 1);
      SDL_FillRect(s, nullptr, 0);
      l.scroll_x = 37 * frame + (frame % 2 ? -15 : 300);
      l.scroll_y = frame * 5;
      l.zoom = 0.6 + 0.08 * frame;
      l.shake = frame % 3;
      l.draw();
      SDL_LockSurface(s);
      const uint8_t* p = static_cast<const uint8_t*>(s->pixels);
      screens[fast].assign(p, p + s->pitch * s->h);
      SDL_UnlockSurface(s);
    }
    set_zoom_fast_path(true);
    EXPECT_TRUE(screens[0] == screens[1]) << "frame " << frame;
  }
}

}  // namespace

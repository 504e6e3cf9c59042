// The health gauge in software mode, read back from the screen.
#include <gtest/gtest.h>

#include "app/video.h"
#include "gfx/health_gauge.h"
#include "picture_files.h"
#include "support/test_env.h"

namespace {

bool is(rgba c, int r, int g, int b) { return c.r == r && c.g == g && c.b == b; }

// Pixels of row `y` between x0 and x1 (inclusive) that are not black.
int lit_in_row(int y, int x0, int x1) {
  int n = 0;
  for (int x = x0; x <= x1; ++x) {
    rgba c = pixel_at(g_video.screen, x, y);
    if (c.r || c.g || c.b) ++n;
  }
  return n;
}

}  // namespace

TEST(HealthGauge, ColoursRunRedYellowWhiteGreen) {
  const gauge_colour first = gauge_column_colour(0, 100.0f);
  EXPECT_EQ(first.r, 255);
  EXPECT_EQ(first.g, 0);
  const gauge_colour last = gauge_column_colour(99, 100.0f);  // v = 252
  EXPECT_EQ(last.r, 15);
  EXPECT_EQ(last.g, 255);
  EXPECT_EQ(last.b, 15);
  const gauge_colour yellow = gauge_column_colour(51, 102.0f);  // v = 127
  EXPECT_EQ(yellow.g, 254);
  EXPECT_EQ(yellow.b, 0);
  const gauge_colour white = gauge_column_colour(192, 255.0f);  // v = 192
  EXPECT_EQ(white.b, 255);
}

TEST(HealthGauge, FullGaugeDrawsOneColumnPerPixelOfThePicture) {
  ensure_video();
  g_video.clear_screen();
  int32_t count = 1;
  draw_health_gauge(50, 50, 1, count, 100, 100, 20);
  EXPECT_EQ(count, 0);
  SDL_Surface* s = g_video.screen;
  // Bottom ends of the columns: x .. x + 99; the outline's end edge meets the bottom at x + 100.
  EXPECT_TRUE(is(pixel_at(s, 100, 35), 255, 0, 0));
  EXPECT_TRUE(is(pixel_at(s, 199, 35), 15, 255, 15));
  EXPECT_TRUE(is(pixel_at(s, 200, 35), 255, 255, 255));
  EXPECT_EQ(lit_in_row(35, 90, 220), 101);
  EXPECT_TRUE(is(pixel_at(s, 99, 35), 0, 0, 0));
  // Top edge: white outline from x + 25 to the tip at x + 125.
  EXPECT_TRUE(is(pixel_at(s, 125, 20), 255, 255, 255));
  EXPECT_TRUE(is(pixel_at(s, 225, 20), 255, 255, 255));
  EXPECT_TRUE(is(pixel_at(s, 226, 20), 0, 0, 0));
}

TEST(HealthGauge, FacingLeftGrowsToTheLeft) {
  ensure_video();
  g_video.clear_screen();
  int32_t count = 2;
  draw_health_gauge(25, 100, 0, count, 100, 300, 20);  // fill 25
  EXPECT_EQ(count, 1);
  SDL_Surface* s = g_video.screen;
  EXPECT_TRUE(is(pixel_at(s, 300, 35), 255, 0, 0));
  EXPECT_FALSE(is(pixel_at(s, 276, 35), 0, 0, 0));
  EXPECT_TRUE(is(pixel_at(s, 275, 35), 255, 255, 255));  // end edge at x - fill
  EXPECT_TRUE(is(pixel_at(s, 301, 35), 0, 0, 0));
}

TEST(HealthGauge, ZeroHpDrawsOnlyTheOutline) {
  ensure_video();
  g_video.clear_screen();
  int32_t count = 1;
  draw_health_gauge(0, 100, 1, count, 100, 100, 20);
  SDL_Surface* s = g_video.screen;
  EXPECT_TRUE(is(pixel_at(s, 125, 20), 255, 255, 255));  // end edge starts at (x + 25, y)
  EXPECT_TRUE(is(pixel_at(s, 100, 35), 255, 255, 255));
  EXPECT_EQ(lit_in_row(35, 90, 220), 1);
}

TEST(HealthGauge, NothingPendingDrawsNothing) {
  ensure_video();
  g_video.clear_screen();
  int32_t count = 0;
  draw_health_gauge(100, 100, 1, count, 100, 100, 20);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(lit_in_row(35, 90, 220), 0);
  EXPECT_EQ(lit_in_row(20, 90, 240), 0);
}

#include "gfx/primitives.h"

#include <gtest/gtest.h>

#include <SDL_gfxPrimitives.h>

#include <cstring>
#include <set>
#include <utility>

#include "app/video.h"

namespace {

using point_set = std::set<std::pair<int, int>>;

// The points a line sets on a 16 x 16 surface, in drawing order.
std::vector<std::pair<int, int>> line_points(int x1, int y1, int x2, int y2) {
  SDL_Surface* s = g_video.create_rgba_surface(16, 16, 32, 0);
  std::vector<std::pair<int, int>> order;
  // Colour each call distinctly by drawing one point at a time is not possible,
  // so read back the set and order it along the major axis.
  draw_line(s, x1, y1, x2, y2, 0xFFFFFFFFu);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      Uint32 px = static_cast<Uint32*>(s->pixels)[y * (s->pitch / 4) + x];
      if (px) order.emplace_back(x, y);
    }
  }
  SDL_FreeSurface(s);
  return order;
}

TEST(Primitives, RgbaSurfaceStartsZeroWithRgbaByteOrder) {
  SDL_Surface* s = g_video.create_rgba_surface(4, 1, 32, 0);
  ASSERT_NE(nullptr, s);
  const Uint8* bytes = static_cast<const Uint8*>(s->pixels);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(0, bytes[i]);
  put_pixel(s, 1, 0, SDL_MapRGBA(s->format, 10, 20, 30, 40));
  EXPECT_EQ(10, bytes[4]);
  EXPECT_EQ(20, bytes[5]);
  EXPECT_EQ(30, bytes[6]);
  EXPECT_EQ(40, bytes[7]);
  SDL_FreeSurface(s);
}

TEST(Primitives, PutPixelOutsideChangesNothing) {
  SDL_Surface* s = g_video.create_rgba_surface(4, 4, 32, 0);
  put_pixel(s, 4, 0, 0xFFFFFFFFu);
  put_pixel(s, 0, -1, 0xFFFFFFFFu);
  put_pixel(s, -1, 2, 0xFFFFFFFFu);
  put_pixel(s, 2, 4, 0xFFFFFFFFu);
  const Uint8* bytes = static_cast<const Uint8*>(s->pixels);
  for (int i = 0; i < s->pitch * 4; ++i) EXPECT_EQ(0, bytes[i]);
  SDL_FreeSurface(s);
}

TEST(Primitives, PutPixelWritesByDepth) {
  SDL_Surface* s24 = SDL_CreateRGBSurface(0, 2, 1, 24, 0xFF, 0xFF00, 0xFF0000, 0);
  put_pixel(s24, 1, 0, 0x00332211u);
  const Uint8* b = static_cast<const Uint8*>(s24->pixels);
  EXPECT_EQ(0x11, b[3]);
  EXPECT_EQ(0x22, b[4]);
  EXPECT_EQ(0x33, b[5]);
  EXPECT_EQ(0, b[0]);
  SDL_FreeSurface(s24);
  SDL_Surface* s16 = SDL_CreateRGBSurface(0, 2, 1, 16, 0xF800, 0x07E0, 0x001F, 0);
  put_pixel(s16, 0, 0, 0xABCDu);
  EXPECT_EQ(0xABCD, static_cast<Uint16*>(s16->pixels)[0]);
  SDL_FreeSurface(s16);
}

TEST(Primitives, LinePointSets) {
  auto single = line_points(10, 5, 10, 5);
  EXPECT_EQ((std::vector<std::pair<int, int>>{{10, 5}}), single);

  point_set forward = {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}};
  auto a = line_points(0, 0, 4, 2);
  EXPECT_EQ(forward, point_set(a.begin(), a.end()));
  auto b = line_points(4, 2, 0, 0);
  EXPECT_EQ(forward, point_set(b.begin(), b.end()));

  // Steep lines step along y; both end points are drawn.
  auto steep = line_points(1, 0, 3, 4);
  point_set expected_steep = {{1, 0}, {2, 1}, {2, 2}, {3, 3}, {3, 4}};
  EXPECT_EQ(expected_steep, point_set(steep.begin(), steep.end()));
}

TEST(Primitives, LinePartlyOffSurfaceIsClipped) {
  auto clipped = line_points(-5, 3, 20, 3);
  EXPECT_EQ(16u, clipped.size());
}

}  // namespace

// The flash is a white translucent box over the screen; the fast path must
// give what SDL_gfx gives for every channel value and opacity, inside the clip
// rectangle only, in either channel order.
TEST(Primitives, WhitenSurfaceMatchesTheTranslucentBoxForEveryValueAndOpacity) {
  const Uint32 orders[2][3] = {{0xFF0000, 0xFF00, 0xFF}, {0xFF, 0xFF00, 0xFF0000}};
  for (const auto& masks : orders) {
    SDL_Surface* expected = SDL_CreateRGBSurface(SDL_SWSURFACE, 256, 3, 32, masks[0], masks[1], masks[2], 0);
    SDL_Surface* got = SDL_CreateRGBSurface(SDL_SWSURFACE, 256, 3, 32, masks[0], masks[1], masks[2], 0);
    ASSERT_NE(nullptr, expected);
    ASSERT_NE(nullptr, got);
    for (int alpha = 0; alpha < 256; ++alpha) {
      for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 256; ++x) {
          const Uint32 v = SDL_MapRGB(expected->format, static_cast<Uint8>(x), static_cast<Uint8>(255 - x),
                                      static_cast<Uint8>(x ^ (y * 77)));
          static_cast<Uint32*>(expected->pixels)[y * expected->pitch / 4 + x] = v;
          static_cast<Uint32*>(got->pixels)[y * got->pitch / 4 + x] = v;
        }
      }
      // Row 0 and the last column stay outside.
      SDL_Rect clip = {0, 1, 255, 2};
      SDL_SetClipRect(expected, &clip);
      SDL_SetClipRect(got, &clip);
      boxRGBA(expected, 0, 0, 256, 3, 255, 255, 255, static_cast<Uint8>(alpha));
      whiten_surface(got, static_cast<Uint8>(alpha));
      for (int y = 0; y < 3; ++y) {
        ASSERT_EQ(0, std::memcmp(static_cast<Uint8*>(expected->pixels) + y * expected->pitch,
                                 static_cast<Uint8*>(got->pixels) + y * got->pitch, 256 * 4))
            << "alpha " << alpha << " row " << y << " red mask " << masks[0];
      }
    }
    SDL_FreeSurface(expected);
    SDL_FreeSurface(got);
  }
}

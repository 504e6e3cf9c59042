// The floor's strips, as both software drawing paths lay them out.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/img_internal.h"

namespace {

struct strip_blit {
  int src_y, src_h, dst_x, dst_y;
};

TEST(FloorStrips, RowsShiftLeftByHalfTheirIndexAndReadFurtherDown) {
  SDL_Rect src = {0, 10, 200, 40};  // window starts 10 rows into the picture
  SDL_Rect dst = {50, 300, 200, 40};
  std::vector<strip_blit> blits;
  for_each_floor_strip(src, dst, 10, 0.17, [&] { blits.push_back({src.y, src.h, dst.x, dst.y}); });
  ASSERT_EQ(10u, blits.size());
  // g = 1, 1.17, ... 1.85 give one row each, reading row 10 + trunc(g / 0.17);
  // from g = 2.02 on each strip is two rows tall and covers two screen rows.
  const strip_blit expected[10] = {
      {15, 1, 50, 300}, {16, 1, 50, 301}, {17, 1, 49, 302}, {18, 1, 49, 303}, {19, 1, 48, 304},
      {20, 1, 48, 305}, {21, 2, 47, 306}, {21, 2, 47, 307}, {22, 2, 46, 308}, {22, 2, 46, 309},
  };
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(expected[i].src_y, blits[i].src_y) << "row " << i;
    EXPECT_EQ(expected[i].src_h, blits[i].src_h) << "row " << i;
    EXPECT_EQ(expected[i].dst_x, blits[i].dst_x) << "row " << i;
    EXPECT_EQ(expected[i].dst_y, blits[i].dst_y) << "row " << i;
  }
}

}  // namespace

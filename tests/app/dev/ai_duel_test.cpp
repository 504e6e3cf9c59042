// The opponent benchmark's figures: bursts and gaps of specials.
#include <gtest/gtest.h>

#include "app/dev/ai_duel.h"

namespace {

TEST(AiDuelFigures, BurstsCountWithinTheWindowAndGapsBetweenNeighbours) {
  // Four specials on consecutive frames, then one 60 ms after the last: a
  // burst of four, and the late one starts no window with them.
  const std::vector<uint32_t> times = {1000, 1016, 1033, 1050, 1110, 3000};
  EXPECT_EQ(largest_burst(times, 60), 4);
  EXPECT_EQ(largest_burst({1000, 1060, 1120}, 60), 1);
  EXPECT_EQ(largest_burst({}, 60), 0);
  EXPECT_EQ(shortest_gap(times), 16);
  EXPECT_EQ(shortest_gap({5000}), -1);
}

}  // namespace

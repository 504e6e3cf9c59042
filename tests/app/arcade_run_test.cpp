// The arcade ladder's order, its rising levels and the time it shows.
#include <gtest/gtest.h>

#include "app/arcade_run.h"
#include "fighter/computer_difficulty.h"

TEST(ArcadeRun, EveryOtherFighterInRosterOrderEachALevelStronger) {
  EXPECT_EQ((std::vector<int>{1, 2, 3}), arcade_opponents(0, 4));
  EXPECT_EQ((std::vector<int>{0, 1, 3}), arcade_opponents(2, 4));
  EXPECT_EQ(3, arcade_level(3, 0));
  EXPECT_EQ(4, arcade_level(3, 1));
  EXPECT_EQ(highest_difficulty, arcade_level(3, 2));
  EXPECT_EQ(highest_difficulty, arcade_level(5, 2));
  EXPECT_EQ(2, arcade_level(0, 2));  // Classic counts as 0: the third opponent plays at 2
  EXPECT_EQ("0:00", arcade_time_text(59, 60));
  EXPECT_EQ("2:05", arcade_time_text(125 * 60, 60));
  EXPECT_EQ("0:00", arcade_time_text(100, 0));
}

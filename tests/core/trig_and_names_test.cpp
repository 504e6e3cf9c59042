#include <gtest/gtest.h>

#include "core/data_path.h"
#include "core/name_hash.h"
#include "core/trig_tables.h"
#include "support/test_env.h"

TEST(TrigTables, SinglePrecisionRadianFactor) {
  fill_trig_tables();
  EXPECT_EQ(0, sin100[0]);
  EXPECT_EQ(100, cos100[0]);
  EXPECT_EQ(49, sin100[30]);
  EXPECT_EQ(99, sin100[90]);  // not 100: pi/180 in single precision is a touch small
  EXPECT_EQ(0, cos100[90]);
  EXPECT_EQ(-99, cos100[180]);
  EXPECT_EQ(-99, sin100[270]);
}

TEST(DataPath, BackslashesBecomeSlashesOnlyWhenOpening) {
  EXPECT_EQ("game/fighter/brela_char.ini", host_path("game\\fighter\\brela_char.ini"));
  EXPECT_EQ("/abs/x.png", host_path("/abs/x.png"));
  EXPECT_EQ("", host_path(static_cast<const char*>(nullptr)));
}

TEST(NameHash, FirstInsertWinsAndEmptyLooksUpNull) {
  std::string log;
  int first = 1, second = 2;
  log = capture_stdout([&] {
    name_hash names;
    EXPECT_EQ(nullptr, names.lookup("a"));
    names.insert("a", &first);
    names.insert("a", &second);
    EXPECT_EQ(&first, names.lookup("a"));
    EXPECT_EQ(nullptr, names.lookup("A"));
  });
  EXPECT_EQ("making hash empty\n", log);
}

TEST(NameHash, OverlongNamesAreCutSafely) {
  std::string name(1000, 'n');
  int data = 0;
  capture_stdout([&] {
    name_hash names;
    names.insert(name.c_str(), &data);
    EXPECT_EQ(&data, names.lookup(std::string(255, 'n').c_str()));
  });
}

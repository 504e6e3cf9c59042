// The field-by-field description of a saved fight: it covers every byte a
// field holds (a field added to the state and not to the description leaves a
// gap no alignment explains), and two states that differ in one field are
// told apart by that field's name.
#include "fight/fight_state_dump.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "fight/fight_state.h"

namespace {

size_t aligned(size_t offset, size_t alignment) { return (offset + alignment - 1) / alignment * alignment; }

TEST(FightStateDump, FieldsCoverTheWholeStateInOrderWithOnlyAlignmentBetween) {
  static fight_state state;
  const std::vector<state_field> fields = fight_state_fields(state);
  ASSERT_FALSE(fields.empty());
  std::set<std::string> names;
  size_t end = 0;
  for (const state_field& f : fields) {
    EXPECT_TRUE(names.insert(f.name).second) << f.name << " listed twice";
    // Every field is a number: its own alignment is its size.
    ASSERT_EQ(f.offset, aligned(end, f.size)) << f.name << " at " << f.offset << ", the field before ends at " << end;
    end = f.offset + f.size;
  }
  EXPECT_EQ(sizeof(fight_state), aligned(end, alignof(fight_state)));
}

TEST(FightStateDump, TheOneDifferingFieldComesFirstAndAloneMarked) {
  static fight_state mine, theirs;
  mine.frame = 120;
  mine.fighters[1].hp = 40;
  mine.stage.zoom = 0.75;
  theirs = mine;
  theirs.fighters[0].path.ai.judged_projectile = 7;

  const std::string dump = fight_state_dump(mine, &theirs);
  EXPECT_EQ(0u, dump.find("* fighters[0].path.ai.judged_projectile: 0 | 7\n")) << dump;
  EXPECT_EQ(dump.find("* "), dump.rfind("* ")) << dump;
  // The fields that agree follow, those 0 on both sides left out.
  EXPECT_NE(std::string::npos, dump.find("\n  frame: 120 | 120\n")) << dump;
  EXPECT_NE(std::string::npos, dump.find("\n  fighters[1].hp: 40 | 40\n")) << dump;
  EXPECT_NE(std::string::npos, dump.find("\n  stage.zoom: 0.75 | 0.75\n")) << dump;
  EXPECT_EQ(std::string::npos, dump.find("fighters[0].hp")) << dump;

  EXPECT_EQ(std::string::npos, fight_state_dump(mine, &mine).find("* "));
  // This side's alone: its fields that are not 0.
  EXPECT_EQ("  frame: 120\n  fighters[1].hp: 40\n  stage.zoom: 0.75\n", fight_state_dump(mine, nullptr));
}

}  // namespace

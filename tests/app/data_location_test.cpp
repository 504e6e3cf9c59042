// Where the game finds its data without --data-dir: $VELTMOORE_BRAWL_DATA, then
// the current directory when it holds game/game.ini, then the tree installed
// beside the executable; otherwise one message naming every place tried.
#include "app/data_location.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/test_env.h"

namespace {

struct places {
  std::string cwd, prefix, installed_data, executable;
};

places make_places(bool cwd_holds_data, bool installed) {
  places p;
  const std::string root = make_temp_dir("data_location");
  p.cwd = root + "/here";
  write_text_file(p.cwd, cwd_holds_data ? "game/game.ini" : "notes.txt", "fps=60\n");
  p.prefix = root + "/moved/prefix";
  p.executable = p.prefix + "/bin/veltmoore-brawl";
  p.installed_data = p.prefix + "/share/veltmoore-brawl/data";
  write_text_file(p.prefix, "bin/veltmoore-brawl", "");
  if (installed) write_text_file(p.installed_data, "game/game.ini", "fps=60\n");
  return p;
}

TEST(DataLocation, EachPlaceIsTakenOnlyWhenTheOnesBeforeItGiveNothing) {
  const places both = make_places(true, true);
  const data_location named = find_data("/some/where", both.cwd, both.executable);
  EXPECT_EQ("/some/where", named.dir);  // the variable is taken as given, like --data-dir
  EXPECT_FALSE(named.installed);

  const data_location here = find_data(nullptr, both.cwd, both.executable);
  EXPECT_EQ(both.cwd, here.dir);
  EXPECT_FALSE(here.installed);
  EXPECT_EQ(both.cwd, find_data("", both.cwd, both.executable).dir);  // set but empty: as unset

  const places installed_only = make_places(false, true);
  const data_location found = find_data(nullptr, installed_only.cwd, installed_only.executable);
  EXPECT_EQ(installed_only.installed_data, found.dir);
  EXPECT_TRUE(found.installed);
}

TEST(DataLocation, NothingFoundNamesEveryPlaceTried) {
  const places none = make_places(false, false);
  const data_location where = find_data(nullptr, none.cwd, none.executable);
  EXPECT_TRUE(where.dir.empty());
  const std::string message = no_data_message(where);
  EXPECT_EQ(0u, message.find("ERROR: "));
  EXPECT_EQ(1, std::count(message.begin(), message.end(), '\n'));
  EXPECT_NE(std::string::npos, message.find(none.cwd)) << message;
  EXPECT_NE(std::string::npos, message.find(none.installed_data)) << message;
  EXPECT_NE(std::string::npos, message.find("VELTMOORE_BRAWL_DATA")) << message;
}

}  // namespace

// The generated tree as a whole: reproducible, and complete (every file that a
// data file names is there).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>
#include <set>

#include "tree_reader.h"

namespace {

// Follows every file name the game would open, starting from the fixed names
// of the program, and records the names it finds.
struct Walker {
  std::string root;
  std::set<std::string> named;
  std::vector<std::string> missing;

  void need(const std::string& game_name, const std::string& named_by) {
    named.insert(game_name);
    if (!exists(root, game_name)) missing.push_back(game_name + " (named by " + named_by + ")");
  }
  void animation(const std::string& file, const std::string& named_by) {
    need(file, named_by);
    DataFile a = read_data_file(root, file);
    for (int i = 0; i < a.num("images"); ++i) {
      need(a.str("image" + std::to_string(i)), file);
      if (a.has("sound" + std::to_string(i))) need(a.str("sound" + std::to_string(i)), file);
    }
  }
  void walk() {
    need("game\\game.ini", "the program");
    need(read_data_file(root, "game\\game.ini").str("music"), "game\\game.ini");
    need(read_data_file(root, "game\\game.ini").str("menu_backdrop"), "game\\game.ini");
    need(read_data_file(root, "game\\game.ini").str("arcade_ending"), "game\\game.ini");
    need("rsrc\\Veranda.ttf", "the program");
    need("rsrc\\dmk_logo2_640x480.png", "the program");
    need("rsrc\\QZ_group_redo_rough_640x480.png", "the program");
    need("rsrc\\brela\\special\\brela_bullet1.png", "the program");
    const char* shots[4] = {"brela_action_shot.png", "kastrell_action_shot_ha.png", "morvane_action_shot.png",
                            "dravitz_action_shot.png"};
    for (int f = 0; f < 4; ++f) {
      std::string n = kFighters[f];
      need("rsrc\\" + n + "\\" + n + "_symbol.png", "the roster");
      need("rsrc\\" + n + "\\" + shots[f], "the roster");
      std::string ch = "game\\fighter\\" + n + "_char.ini";
      need(ch, "the roster");
      DataFile c = read_data_file(root, ch);
      for (int i = 0; i < c.num("moves"); ++i) animation(c.str("move" + std::to_string(i)), ch);
      for (int i = 0; i < c.num("images"); ++i) need(c.str("image" + std::to_string(i)), ch);
      need(c.str("knocked_out"), ch);
    }
    animation("game\\fighter\\loading.ini", "the level loader");
    std::string level = "rsrc\\veltmoore\\stage_veltmoore.ini";
    need(level, "the fight set-up");
    DataFile l = read_data_file(root, level);
    need(l.str("bgset"), level);
    need(l.str("music"), level);
    DataFile set = read_data_file(root, l.str("bgset"));
    for (int i = 0; i < set.num("images"); ++i) need(set.str("image" + std::to_string(i)), l.str("bgset"));
    for (int p = 0; p < l.num("length"); ++p) {
      std::string k = "part" + std::to_string(p) + "sortie";
      if (l.has(k)) need(l.str(k), level);
    }
  }
};

TEST(GeneratedTree, TwoRunsWriteByteIdenticalTrees) {
  std::string a = shared_tree();
  std::string b = generate_into_new_dir("again");
  ASSERT_FALSE(a.empty());
  ASSERT_FALSE(b.empty());
  auto ca = checksum_tree(a), cb = checksum_tree(b);
  ASSERT_GT(ca.size(), 200u);
  std::vector<std::string> only_a, only_b, differ;
  for (const auto& [name, sum] : ca) {
    auto it = cb.find(name);
    if (it == cb.end())
      only_a.push_back(name);
    else if (it->second != sum)
      differ.push_back(name);
  }
  for (const auto& kv : cb)
    if (!ca.count(kv.first)) only_b.push_back(kv.first);
  EXPECT_TRUE(only_a.empty()) << "first run only: " << (only_a.empty() ? "" : only_a[0]);
  EXPECT_TRUE(only_b.empty()) << "second run only: " << (only_b.empty() ? "" : only_b[0]);
  EXPECT_TRUE(differ.empty()) << differ.size() << " files differ, e.g. " << (differ.empty() ? "" : differ[0]);
  std::filesystem::remove_all(b);
}

TEST(GeneratedTree, EveryNamedFileExistsAndEveryFileIsNamed) {
  Walker w{shared_tree(), {}, {}};
  ASSERT_FALSE(w.root.empty());
  w.walk();
  std::string list;
  for (const auto& m : w.missing) list += "\n  " + m;
  EXPECT_TRUE(w.missing.empty()) << "missing:" << list;

  // Nothing is written that the game never opens (except the font licence).
  std::set<std::string> on_disk_names;
  for (const auto& kv : checksum_tree(w.root)) {
    std::string n = kv.first;
    for (char& c : n)
      if (c == '/') c = '\\';
    on_disk_names.insert(n);
  }
  for (const auto& n : on_disk_names)
    if (n != "rsrc\\FONT-LICENSE.txt") {
      EXPECT_TRUE(w.named.count(n)) << n << " is never named";
    }
}

TEST(GeneratedTree, FailsCleanlyWithoutAWritableRoot) {
  // A root below a regular file cannot be created: the run must fail, not crash.
  std::string blocker = shared_tree() + "/game/game.ini";
  std::string cmd = std::string("\"") + GEN_CONTENT_BIN + "\" \"" + blocker + "/sub\" > /dev/null 2>&1";
  int rc = std::system(cmd.c_str());
  ASSERT_NE(rc, -1);
  EXPECT_TRUE(WIFEXITED(rc));
  EXPECT_NE(WEXITSTATUS(rc), 0);
}

}  // namespace

// What the Replays screen lists: read from a file's first and last bytes,
// whatever the file holds, newest first, links and folders left out.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <filesystem>
#include <string>

#include "app/replay/replay_format.h"
#include "app/replay/replay_listing.h"
#include "support/test_env.h"

namespace {

replay_entry described(const std::string& head, const std::string& tail) {
  replay_entry e;
  describe_replay(head, tail, e);
  return e;
}

std::string header(int version, const std::string& build) {
  return "replay " + std::to_string(version) + "\nbuild " + build + "\nseed 1\nfps 50\n";
}

void write_dated(const std::string& dir, const std::string& name, const std::string& text, long when) {
  write_text_file(dir, name, text);
  const struct utimbuf times = {when, when};
  utime((dir + "/" + name).c_str(), &times);
}

}  // namespace

TEST(ReplayListing, AFileSaysItsFightersResultAndLengthOrWhyItCantPlay) {
  const std::string summary = replay_summary_lines("Brela", "Kastrell", "Kastrell wins");
  replay_entry e = described(summary + header(replay_format_version, replay_build_version) + "0 p1 none\n", "\n3000 end\n");
  EXPECT_TRUE(e.playable) << e.reason;
  EXPECT_EQ("Brela vs Kastrell", e.fighters);
  EXPECT_EQ("Kastrell wins", e.result);
  EXPECT_EQ(3000, e.frames);
  EXPECT_EQ("1:00", replay_length_text(e.frames, e.fps));

  e = described(header(replay_format_version - 1, replay_build_version), "5 end\n");
  EXPECT_FALSE(e.playable);
  EXPECT_EQ("old format " + std::to_string(replay_format_version - 1), e.reason);
  e = described(header(replay_format_version, "fight-0"), "5 end\n");
  EXPECT_FALSE(e.playable);
  EXPECT_EQ("other build fight-0", e.reason);
  EXPECT_FALSE(described("# only a comment\n", "").playable);
  EXPECT_EQ("not a replay", described("\x7f\x45LF\x02\n", "").reason);

  // Hostile: a huge number, a name full of control bytes and as long as the
  // read, no end line, a header cut off by the read.
  e = described("# fighters " + std::string(3000, '\x1b') + "\n" + header(replay_format_version, replay_build_version),
                "99999999999999999999 end\n");
  EXPECT_TRUE(e.playable);
  EXPECT_LE(e.fighters.size(), 52u);
  EXPECT_EQ(std::string::npos, e.fighters.find('\x1b'));
  EXPECT_EQ(-1, e.frames);
  EXPECT_EQ("?", replay_length_text(e.frames, e.fps));
  EXPECT_FALSE(described("repl", "").playable);
}

TEST(ReplayListing, TheFolderIsListedNewestFirstWithoutLinksOrFolders) {
  const std::string dir = make_temp_dir("replay_listing");
  const std::string good = header(replay_format_version, replay_build_version) + "10 end\n";
  write_dated(dir, "a.replay", good, 1700000000);
  write_dated(dir, "b.replay", good, 1700000300);
  write_dated(dir, "c.replay", header(1, "old"), 1700000100);
  write_dated(dir, "notes.txt", good, 1700000400);
  std::filesystem::create_directory(dir + "/folder.replay");
  std::filesystem::create_symlink(dir + "/a.replay", dir + "/link.replay");
  const std::vector<replay_entry> list = list_replays(dir);
  ASSERT_EQ(3u, list.size());
  EXPECT_EQ(dir + "/b.replay", list[0].path);
  EXPECT_EQ(dir + "/c.replay", list[1].path);
  EXPECT_FALSE(list[1].playable);
  EXPECT_EQ(dir + "/a.replay", list[2].path);
  EXPECT_EQ(10, list[2].frames);
  EXPECT_TRUE(list_replays(dir + "/missing").empty());
}

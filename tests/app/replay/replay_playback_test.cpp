// The recorded replays in software mode, and what a replay that no longer
// matches, or was cut short, or comes from another build, tells the player.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <regex>

#include "replay_playback.h"

namespace {

std::string bundled_replay(const char* name) {
  return read_file(source_path(std::string("tests/replays/") + name + ".replay"));
}

std::string without_lines(const std::string& text, const std::regex& line) {
  std::string kept;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = std::min(text.find('\n', at), text.size());
    const std::string one = text.substr(at, end - at);
    if (!std::regex_match(one, line)) kept += one + "\n";
    at = end + 1;
  }
  return kept;
}

TEST(ReplayPlayback, RecordedReplaysPlayTheSameInSoftwareMode) {
  if (!bundled_replay_data()) GTEST_SKIP() << "GAME_DATA_DIR (the bundled data, build/data) is not set";
  expect_every_replay_matches("--software");
}

TEST(ReplayPlayback, ADifferentFightStopsAtTheFirstCheckThatDiffers) {
  if (!bundled_replay_data()) GTEST_SKIP() << "GAME_DATA_DIR (the bundled data, build/data) is not set";
  // Another seed makes another fight; the first check that sees it is the one to name.
  std::string text = bundled_replay("walk_jump");
  text = std::regex_replace(text, std::regex("\nseed [0-9]+\n"), "\nseed 4\n");
  const std::string dir = make_temp_dir("replay_desync");
  write_text_file(dir, "other.replay", text);
  const game_run r = play_replay(dir + "/other.replay", "--software");
  EXPECT_EQ(3, r.exit_status);
  const std::smatch m = [&] {
    std::smatch found;
    std::regex_search(r.err, found, std::regex("desynchronised at frame ([0-9]+)"));
    return found;
  }();
  ASSERT_FALSE(m.empty()) << r.err;
  // Frames 60 and 120 are still the select screen, where the seed shows only in the random source.
  EXPECT_EQ("60", m[1].str());
}

// The fight plays the recorded actions: without the key lines of the fight
// every check still matches; without the action lines it goes astray.
TEST(ReplayPlayback, TheFightPlaysTheRecordedActionsNotTheKeys) {
  if (!bundled_replay_data()) GTEST_SKIP() << "GAME_DATA_DIR (the bundled data, build/data) is not set";
  const std::string text = bundled_replay("walk_jump");
  ASSERT_NE(std::string::npos, text.find(" p1 left\n"));
  const std::string dir = make_temp_dir("replay_actions");
  // The fight begins by frame 160; the select screen's keys before it stay.
  write_text_file(dir, "no_keys.replay", without_lines(text, std::regex("(1[6-9]|[2-9])[0-9]+ [a-z]+ (down|up)")));
  write_text_file(dir, "no_actions.replay", without_lines(text, std::regex("[0-9]+ p1 [a-z+]+")));
  ASSERT_EQ(std::string::npos, read_file(dir + "/no_keys.replay").find("left down"));
  ASSERT_EQ(std::string::npos, read_file(dir + "/no_actions.replay").find(" p1 "));
  const game_run played = play_replay(dir + "/no_keys.replay", "--software");
  EXPECT_EQ(0, played.exit_status) << played.err;
  EXPECT_NE(std::string::npos, played.out.find("every check matched")) << played.out;
  const game_run astray = play_replay(dir + "/no_actions.replay", "--software");
  EXPECT_EQ(3, astray.exit_status) << astray.err;
  EXPECT_NE(std::string::npos, astray.err.find("desynchronised at frame 180")) << astray.err;
}

TEST(ReplayPlayback, CutOrEditedReplaysAreRefusedWithFileAndLine) {
  const std::string dir = make_temp_dir("replay_bad");
  const std::string text = bundled_replay("walk_jump");
  ASSERT_FALSE(text.empty());
  write_text_file(dir, "cut.replay", text.substr(0, text.find(" end\n") - 3));
  write_text_file(dir, "older.replay", std::regex_replace(text, std::regex("\nreplay 3\n"), "\nreplay 2\n"));
  write_text_file(dir, "edited.replay", std::regex_replace(text, std::regex(" check ([0-9a-f]+)\n"), " check x$1\n",
                                                          std::regex_constants::format_first_only));
  struct bad_case {
    const char* file;
    const char* says;
  };
  for (const bad_case& c : {bad_case{"cut.replay", "truncated"}, bad_case{"edited.replay", "FRAME check HEX"},
                            bad_case{"older.replay", "line 2: replay format 2 comes from an older build, which "
                                                     "recorded keys; this build plays replay format 3"},
                            bad_case{"missing.replay", "can't read the replay"}}) {
    SCOPED_TRACE(c.file);
    const game_run r = run_fight({"--replay", dir + "/" + c.file}, {"SDL_VIDEODRIVER=dummy"});
    EXPECT_EQ(2, r.exit_status);
    EXPECT_NE(std::string::npos, r.err.find(dir + "/" + c.file)) << r.err;
    EXPECT_NE(std::string::npos, r.err.find(c.says)) << r.err;
    if (std::string(c.file) != "missing.replay") {
      EXPECT_NE(std::string::npos, r.err.find(", line ")) << r.err;
    }
  }
}

}  // namespace

// Another build's fight and checks differ: its replay is refused up front,
// naming both builds, rather than played astray.
TEST(ReplayPlayback, AnotherBuildsReplayIsRefusedNamingTheBuilds) {
  if (!bundled_replay_data()) GTEST_SKIP() << "GAME_DATA_DIR (the bundled data, build/data) is not set";
  const std::string text =
      std::regex_replace(bundled_replay("walk_jump"), std::regex("\nbuild [^\n]+\n"), "\nbuild fight-3\n");
  const std::string dir = make_temp_dir("replay_build");
  write_text_file(dir, "old.replay", text);
  const game_run r = play_replay(dir + "/old.replay", "--software");
  EXPECT_EQ(2, r.exit_status);
  EXPECT_NE(std::string::npos, r.err.find("was recorded by build fight-3, this is fight-4")) << r.err;
  EXPECT_EQ(std::string::npos, r.err.find("desynchronised")) << r.err;
}

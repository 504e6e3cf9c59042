// The recorded replays in software mode, and what a replay that no longer
// matches, or was cut short, or comes from another build, tells the player.
#include <fstream>
#include <iterator>
#include <regex>

#include "replay_playback.h"

namespace {

std::string bundled_replay(const char* name) {
  return read_file(source_path(std::string("tests/replays/") + name + ".replay"));
}

TEST(ReplayPlayback, RecordedReplaysPlayTheSameInSoftwareMode) {
  if (!bundled_replay_data()) GTEST_SKIP() << "GAME_DATA_DIR (the bundled data, build/data) is not set";
  expect_every_replay_matches("--software");
}

TEST(ReplayPlayback, ADifferentFightStopsAtTheFirstCheckThatDiffersAndNamesTheOtherBuild) {
  if (!bundled_replay_data()) GTEST_SKIP() << "GAME_DATA_DIR (the bundled data, build/data) is not set";
  // Another seed makes another fight; the first check that sees it is the one to name.
  std::string text = bundled_replay("walk_jump");
  text = std::regex_replace(text, std::regex("\nseed [0-9]+\n"), "\nseed 4\n");
  text = std::regex_replace(text, std::regex("\nbuild [^\n]+\n"), "\nbuild older-build\n");
  const std::string dir = make_temp_dir("replay_desync");
  write_text_file(dir, "other.replay", text);
  const game_run r = play_replay(dir + "/other.replay", "--software");
  EXPECT_EQ(3, r.exit_status);
  EXPECT_NE(std::string::npos, r.err.find("recorded by build older-build")) << r.err;
  const std::smatch m = [&] {
    std::smatch found;
    std::regex_search(r.err, found, std::regex("desynchronised at frame ([0-9]+)"));
    return found;
  }();
  ASSERT_FALSE(m.empty()) << r.err;
  // Frames 60 and 120 are still the select screen, where the seed shows only in the random source.
  EXPECT_EQ("60", m[1].str());
}

TEST(ReplayPlayback, CutOrEditedReplaysAreRefusedWithFileAndLine) {
  const std::string dir = make_temp_dir("replay_bad");
  const std::string text = bundled_replay("walk_jump");
  ASSERT_FALSE(text.empty());
  write_text_file(dir, "cut.replay", text.substr(0, text.find(" end\n") - 3));
  write_text_file(dir, "edited.replay", std::regex_replace(text, std::regex(" check ([0-9a-f]+)\n"), " check x$1\n",
                                                          std::regex_constants::format_first_only));
  struct bad_case {
    const char* file;
    const char* says;
  };
  for (const bad_case& c : {bad_case{"cut.replay", "truncated"}, bad_case{"edited.replay", "FRAME check HEX"},
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

// F9: where a saved replay goes, what the run kept in memory writes, and a
// scripted run pressing F9 whose replay plays back the same.
#include <filesystem>

#include "app/replay/replay_format.h"
#include "app/replay/replay_run_log.h"
#include "app/replay/replay_saving.h"
#include "saved_replay.h"

namespace {

TEST(SavedReplay, AReplaySavedWithF9PlaysBackInSoftwareMode) { expect_saved_replay_plays_back("--software", true); }

TEST(SavedReplay, GoesBesideTheDataThenHomeAndNeverInsideTheData) {
  namespace fs = std::filesystem;
  const std::string root = make_temp_dir("replay_places");
  const std::string data = root + "/game_data";
  const std::string home = root + "/home";
  fs::create_directories(data);
  fs::create_directories(home);
  const std::time_t when = 1700000000;
  std::string written, error;

  ASSERT_TRUE(save_replay_text("one", data, home.c_str(), when, written, error)) << error;
  EXPECT_EQ(0u, written.find(root + "/replays/")) << written;
  EXPECT_EQ("one", read_file(written));

  // The parent can't hold replays/ (a file has the name): the home takes it.
  fs::remove_all(root + "/replays");
  write_text_file(root, "replays", "not a directory");
  ASSERT_TRUE(save_replay_text("two", data, home.c_str(), when, written, error)) << error;
  EXPECT_EQ(0u, written.find(home + "/replays/")) << written;
  EXPECT_EQ("two", read_file(written));

  // A home inside the data directory is no place for it either; both are named.
  const std::string inner_home = data + "/home";
  EXPECT_FALSE(save_replay_text("three", data, inner_home.c_str(), when, written, error));
  EXPECT_NE(std::string::npos, error.find(root + "/replays")) << error;
  EXPECT_NE(std::string::npos, error.find(inner_home + "/replays: inside the data directory")) << error;
  EXPECT_FALSE(fs::exists(inner_home));
}

TEST(SavedReplay, GoesToThePlayersDataFolderFirst) {
  namespace fs = std::filesystem;
  const std::string root = make_temp_dir("replay_user_dir");
  const std::string data = root + "/game_data";
  fs::create_directories(data);
  std::string written, error;
  const std::string user_dir = root + "/share/veltmoore-brawl";  // made with its parents
  ASSERT_TRUE(save_replay_text("one", data, nullptr, 1700000000, written, error, true, user_dir)) << error;
  EXPECT_EQ(0u, written.find(user_dir + "/replays/")) << written;
  EXPECT_EQ("one", read_file(written));
  // A folder that can't be made (a file has the name): beside the data, as before.
  write_text_file(root, "blocked", "a file");
  ASSERT_TRUE(save_replay_text("two", data, nullptr, 1700000000, written, error, true, root + "/blocked/vb"))
      << error;
  EXPECT_EQ(0u, written.find(root + "/replays/")) << written;
}

TEST(SavedReplay, NeverOverwritesAndNeverFollowsALinkIntoTheData) {
  namespace fs = std::filesystem;
  const std::string root = make_temp_dir("replay_links");
  const std::string data = root + "/data";
  fs::create_directories(data + "/game");
  fs::create_directory_symlink(data + "/game", root + "/replays");  // beside the data, leading into it
  const std::string home = root + "/home";
  fs::create_directories(home);
  std::string first, second, error;
  ASSERT_TRUE(save_replay_text("one", data, home.c_str(), 1700000000, first, error)) << error;
  ASSERT_TRUE(save_replay_text("two", data, home.c_str(), 1700000000, second, error)) << error;  // the same second
  EXPECT_EQ(0u, first.find(home + "/replays/")) << first;
  EXPECT_NE(first, second);
  EXPECT_EQ("one", read_file(first));
  EXPECT_EQ("two", read_file(second));
  // A home that is the data directory however it is spelt: nowhere to go.
  const fs::path before = fs::current_path();
  fs::current_path(data);
  for (const std::string& inside : {std::string("."), root + "/home/../data", root + "/replays/.."}) {
    EXPECT_FALSE(save_replay_text("three", data, inside.c_str(), 1700000000, first, error)) << inside;
    EXPECT_NE(std::string::npos, error.find("inside the data directory")) << error;
  }
  fs::current_path(before);
  EXPECT_EQ(1, std::distance(fs::directory_iterator(data), fs::directory_iterator()));
  EXPECT_TRUE(fs::is_empty(data + "/game"));
}

TEST(SavedReplay, KeptRunWritesEveryClockReadingInFrameOrder) {
  replay_run_log log;
  log.add_reading(0, 4294967290u);  // the tick counter wraps during the run
  log.add_lines("1 return down\n");
  log.add_reading(1, 4294967295u);
  log.add_reading(1, 3u);
  log.add_reading(1, 3u);
  log.add_lines("3 return up\n");
  log.add_reading(3, 40u);
  log.add_lines("60 check 00000000000000ff\n");
  log.add_reading(60, 1000u);
  log.add_lines("61 left down\n");  // after the save: not part of it

  replay_header h;
  h.version = replay_format_version;
  h.build = replay_build_version;
  h.seed = 9;
  h.width = 640;
  h.height = 480;
  h.fps = 60;
  h.libc_random = true;
  h.clock_readings = true;
  const std::string text = log.text(h, 60);
  replay_file parsed;
  std::string error;
  ASSERT_TRUE(parse_replay(text, parsed, error)) << error << "\n" << text;
  EXPECT_TRUE(parsed.header.libc_random);
  EXPECT_TRUE(parsed.header.clock_readings);
  EXPECT_EQ(60, parsed.end_frame);
  ASSERT_EQ(1u, parsed.checks.size());
  EXPECT_EQ(std::string::npos, text.find("left")) << text;

  const std::vector<std::pair<long, std::vector<uint32_t>>> expected = {
      {0, {4294967290u}}, {1, {4294967295u, 3u, 3u}}, {3, {40u}}};  // frame 60's reading came after the save
  ASSERT_EQ(expected.size(), parsed.clock.size()) << text;
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(expected[i].first, parsed.clock[i].frame);
    const std::vector<uint32_t> got(parsed.clock_readings.begin() + parsed.clock[i].first,
                                    parsed.clock_readings.begin() + parsed.clock[i].first + parsed.clock[i].count);
    EXPECT_EQ(expected[i].second, got) << text;
  }
}

TEST(SavedReplay, ClockAndRandomLinesThatDoNotParseNameTheirLine) {
  const std::string head =
      "replay 3\nbuild b\nseed 1\nwidth 640\nheight 480\nfps 60\nfighter -1\njoystick 0\nclock readings\n";
  for (const auto& c : {std::make_pair("random libc\n5 clock 10 x\n5 end\n", "line 11:"),
                        std::make_pair("5 clock 10\n5 clock 11\n5 end\n", "line 11: one clock line a frame"),
                        std::make_pair("5 clock\n5 end\n", "line 10:"),
                        std::make_pair("random other\n5 end\n", "line 10: expected 'random libc'")}) {
    replay_file parsed;
    std::string error;
    EXPECT_FALSE(parse_replay(head + c.first, parsed, error)) << c.first;
    EXPECT_EQ(0u, error.find(c.second)) << error;
  }
}

}  // namespace

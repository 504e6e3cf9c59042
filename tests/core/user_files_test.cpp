// Files the player hands the game are read once, capped and regular; files
// the game writes for the player are whole or absent, never overwrite
// anything, never follow a planted link and never land in the data.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>

#include "core/bounded_read.h"
#include "core/user_file_write.h"
#include "support/run_game.h"
#include "support/test_env.h"

namespace fs = std::filesystem;

namespace {

std::set<std::string> names_in(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

bool write(const std::string& dir, const std::string& name, const std::string& bytes, std::string& written,
           std::string& error, const std::string& keep_out_of = "") {
  user_file_target target;
  target.dir = dir;
  target.name = name;
  target.keep_out_of = keep_out_of;
  return write_user_file(target, bytes, written, error);
}

}  // namespace

TEST(UserFiles, ReadsOnlyRegularFilesWithinTheCapAndNeverThrows) {
  const std::string dir = make_temp_dir("bounded_read");
  write_text_file(dir, "ten", "0123456789");
  std::string text, error;
  EXPECT_TRUE(read_bounded_file(dir + "/ten", 10, text, error)) << error;
  EXPECT_EQ("0123456789", text);
  EXPECT_FALSE(read_bounded_file(dir + "/ten", 9, text, error));
  EXPECT_EQ("10 bytes, more than the 9 allowed", error);
  EXPECT_TRUE(text.empty());

  ASSERT_EQ(0, mkfifo((dir + "/fifo").c_str(), 0600));  // no writer: opening it would wait for ever
  EXPECT_FALSE(read_bounded_file(dir + "/fifo", 10, text, error));
  EXPECT_EQ("not a regular file (a pipe)", error);
  // Regular files of size 0 whose reads fail or give bytes all the same.
  EXPECT_FALSE(read_bounded_file("/proc/self/mem", 1 << 20, text, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(read_bounded_file("/proc/self/status", 1 << 20, text, error));
  EXPECT_EQ("its size changed while it was read", error);
}

TEST(UserFiles, NewFilesTakeTheNextFreeNameAndNeverFollowAPlantedLink) {
  const std::string root = make_temp_dir("user_write");
  const std::string dir = root + "/replays";
  write_text_file(root, "outside", "keep me");
  fs::create_directories(dir);
  write_text_file(dir, "run.replay", "first");
  fs::create_symlink(root + "/outside", dir + "/run-2.replay");  // planted at the next name
  std::string written, error;
  ASSERT_TRUE(write(dir, "run.replay", "second", written, error)) << error;
  EXPECT_EQ(dir + "/run-3.replay", written);
  EXPECT_EQ("second", read_file(written));
  EXPECT_EQ("first", read_file(dir + "/run.replay"));
  EXPECT_EQ("keep me", read_file(root + "/outside"));
  EXPECT_EQ((std::set<std::string>{"run.replay", "run-2.replay", "run-3.replay"}), names_in(dir));

  // Replacing is for a regular file only; a link there stays as it is.
  user_file_target settings;
  settings.dir = dir;
  settings.name = "run.replay";
  settings.replace = true;
  ASSERT_TRUE(write_user_file(settings, "third", written, error)) << error;
  EXPECT_EQ("third", read_file(dir + "/run.replay"));
  settings.name = "run-2.replay";
  EXPECT_FALSE(write_user_file(settings, "fourth", written, error));
  EXPECT_EQ("keep me", read_file(root + "/outside"));
  EXPECT_EQ(3u, names_in(dir).size()) << "a temporary file was left";
}

TEST(UserFiles, AFailedWriteLeavesNoFileAndNamesThePath) {
  const std::string dir = make_temp_dir("user_write_full");
  // A file-size limit of 0 fails every write as a full disk does.
  rlimit before;
  ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &before));
  rlimit none = before;
  none.rlim_cur = 0;
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &none));
  std::string written, error;
  const bool ok = write(dir, "run.replay", "bytes", written, error);
  setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(ok);
  EXPECT_EQ(0u, error.find(dir + "/run.replay: ")) << error;
  EXPECT_TRUE(names_in(dir).empty()) << *names_in(dir).begin();
}

TEST(UserFiles, NeverInsideTheKeptOutTreeHoweverThePathLeadsThere) {
  const std::string root = make_temp_dir("user_write_data");
  const std::string data = root + "/data";
  fs::create_directories(data + "/game");
  fs::create_directories(root + "/other");
  fs::create_directory_symlink(data, root + "/home_link");
  fs::create_directory_symlink(data, root + "/replays_link_target");
  fs::create_directories(root + "/elsewhere");
  fs::create_directory_symlink(root + "/elsewhere", root + "/other/replays");
  std::string written, error;
  for (const std::string& dir : {data + "/replays", root + "/other/../data/replays", root + "/home_link/replays",
                                 root + "/home_link/not/yet/there", data + "/game/replays"}) {
    SCOPED_TRACE(dir);
    EXPECT_FALSE(write(dir, "r.replay", "x", written, error, data));
    EXPECT_NE(std::string::npos, error.find("inside the data directory")) << error;
  }
  // "." is the data directory when the game runs in it.
  const fs::path before = fs::current_path();
  fs::current_path(data);
  EXPECT_FALSE(write("./replays", "r.replay", "x", written, error, data));
  fs::current_path(before);
  // A folder that is a link is not followed, wherever it leads.
  EXPECT_FALSE(write(root + "/other/replays", "r.replay", "x", written, error, data));
  EXPECT_NE(std::string::npos, error.find("symbolic link")) << error;
  EXPECT_TRUE(names_in(root + "/elsewhere").empty());
  EXPECT_EQ((std::set<std::string>{"game"}), names_in(data));
}

// The game itself on hostile key scripts and replays, and on the places and
// signals a recording meets: a refusal is exit status 2 naming the file; a
// recording is written whole at the end or not at all, and a failure to write
// it is the run's failure.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/replay/replay_format.h"
#include "support/run_game.h"
#include "support/test_env.h"

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> headless = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"};

std::string data_or_empty() { return bundled_data_dir(); }

// The recording at `file`, checked whole; its end frame, -1 when it is not a complete replay.
long recorded_end(const std::string& file) {
  replay_file parsed;
  std::string error;
  return parse_replay(read_file(file), parsed, error) ? parsed.end_frame : -1;
}

// Runs the game with standard output a pipe nobody reads any more (as
// `game | head` once head is done) and SIGPIPE at its default. Returns the
// wait status.
int run_into_closed_pipe(const std::vector<std::string>& args, const std::string& err_file) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  close(fds[0]);
  std::vector<std::string> text = {fight_executable()};
  text.insert(text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : text) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    for (const auto& e : headless) putenv(const_cast<char*>(e.c_str()));
    // With a display named, the libraries' start-up writes the log out before main runs.
    putenv(const_cast<char*>("DISPLAY=:1"));
    std::signal(SIGPIPE, SIG_DFL);
    const int err = open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fds[1], 1);
    dup2(err, 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(fds[1]);
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

}  // namespace

TEST(ReplayFilesRun, RefusedScriptsAndReplaysExitTwoNamingTheFile) {
  const std::string dir = make_temp_dir("refused_scripts");
  write_text_file(dir, "huge.replay",
                  "replay 3\nbuild b\nseed 3\nwidth 16000\nheight 16000\nfps 60\nfighter -1\njoystick 0\n10 end\n");
  write_text_file(dir, "junk.keys", "0 end of the world and more\n");
  // Sparse: 33 MB that take no room.
  write_text_file(dir, "big.keys", "");
  fs::resize_file(dir + "/big.keys", (32 << 20) + 1);
  struct refused {
    const char* option;
    std::string file;
    const char* says;
  };
  for (const refused& c : {refused{"--replay", dir + "/huge.replay", ", line 5: width 16000 and height 16000"},
                           refused{"--script", dir + "/junk.keys", ", line 1: expected 'FRAME KEY down|up'"},
                           refused{"--script", dir + "/big.keys", ": 33554433 bytes, more than the 33554432 allowed"},
                           refused{"--replay", dir + "/big.keys", ": 33554433 bytes, more than the 33554432 allowed"},
                           refused{"--script", "/proc/self/mem", ": Input/output error"},
                           refused{"--replay", "/proc/self/mem", ": Input/output error"}}) {
    SCOPED_TRACE(c.file);
    const game_run r = run_fight({c.option, c.file, "--frames", "1"}, headless);
    EXPECT_EQ(2, r.exit_status) << r.err;
    EXPECT_NE(std::string::npos, r.err.find(c.file + c.says)) << r.err;
    EXPECT_NE(std::string::npos, r.err.find(std::string(c.option == std::string("--script") ? "key script " : "replay ") + c.file))
        << r.err;
  }
}

TEST(ReplayFilesRun, ARecordingThatCanNotBeANewFileIsRefusedBeforeTheWindowOpens) {
  const std::string dir = make_temp_dir("record_refused");
  ASSERT_EQ(0, mkfifo((dir + "/fifo").c_str(), 0600));  // nobody reads it: opening it would block
  write_text_file(dir, "taken.replay", "keep me");
  write_text_file(dir, "data/game/game.ini", "");  // a data directory, empty: the run stops before using it
  for (const std::string& target : {dir + "/fifo", dir + "/taken.replay", std::string("/dev/full"),
                                    dir + "/missing/r.replay"}) {
    SCOPED_TRACE(target);
    running_game game =
        start_fight({"--data-dir", dir + "/data", "--record", target, "--frames", "5", "--no-limiter"}, headless);
    bool ended = false;
    double waited = 0;
    const game_run r = wait_for_exit(game, 20, ended, waited);
    ASSERT_TRUE(ended) << "still running after 20 s";
    EXPECT_EQ(2, r.exit_status) << r.err;
    EXPECT_NE(std::string::npos, r.err.find("can't record into " + target + ": ")) << r.err;
    EXPECT_EQ(std::string::npos, r.out.find("joysticks were found")) << "the devices started";
  }
  EXPECT_EQ("keep me", read_file(dir + "/taken.replay"));
}

TEST(ReplayFilesRun, ARecordingIsWholeOrAbsentWhateverHappensToTheRun) {
  const std::string data = data_or_empty();
  if (data.empty()) GTEST_SKIP() << "no bundled data (build/data)";
  const std::string dir = make_temp_dir("record_whole");

  // Its log into a pipe nobody reads: the run goes on and the recording is complete.
  const int status = run_into_closed_pipe(
      {"--data-dir", data, "--record", dir + "/piped.replay", "--frames", "70", "--no-limiter"}, dir + "/err");
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status << read_file(dir + "/err");
  EXPECT_EQ(70, recorded_end(dir + "/piped.replay")) << read_file(dir + "/piped.replay");

  // A hang-up ends the run as a close request does, recording and all.
  running_game game = start_fight({"--data-dir", data, "--record", dir + "/hung.replay", "--frames", "1200"}, headless);
  ASSERT_TRUE(wait_for_output(game, "Setting fps", 20));
  usleep(300 * 1000);
  kill(game.pid, SIGHUP);
  bool ended = false;
  double waited = 0;
  const game_run hung = wait_for_exit(game, 20, ended, waited);
  EXPECT_EQ(0, hung.exit_status) << hung.err;
  const long end = recorded_end(dir + "/hung.replay");
  EXPECT_GT(end, 0) << read_file(dir + "/hung.replay");
  EXPECT_LT(end, 1200);

  // No room for the file (a file-size limit of 0 stands for a full disk):
  // no file, no temporary one, and a failed run that says where.
  const std::string full = dir + "/full";
  fs::create_directories(full);
  const std::string command = "ulimit -f 0; exec env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy '" +
                              fight_executable() + "' --data-dir '" + data + "' --record '" + full +
                              "/r.replay' --frames 70 --no-limiter 2>&1 >/dev/null";
  FILE* run = popen(command.c_str(), "r");
  ASSERT_NE(nullptr, run);
  std::string err;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, run)) > 0;) err.append(buffer, n);
  const int full_status = pclose(run);
  EXPECT_TRUE(WIFEXITED(full_status) && WEXITSTATUS(full_status) != 0) << "wait status " << full_status;
  EXPECT_NE(std::string::npos, err.find("ERROR: can't write the replay " + full + "/r.replay: ")) << err;
  EXPECT_TRUE(fs::is_empty(full)) << fs::directory_iterator(full)->path();
}

// Two game processes whose fights part ways: the guest, told by a test-only
// variable, moves its entry 0 a pixel at frame 30. At the first compared
// hash both stop with the ERROR, and each writes beside its replay a dump of
// both states in which the moved fighter's x is marked, its own value first.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "support/run_game.h"
#include "support/test_env.h"

namespace {

std::string port_for(int k) { return std::to_string(20000 + (getpid() * 17 + k * 7) % 12000); }

std::string dump_path(const std::string& log) {
  std::smatch m;
  if (!std::regex_search(log, m, std::regex("NOTICE: online: desync dump saved as (.*)\n"))) return "";
  return m[1];
}

TEST(OnlineDesyncRun, BothSidesStopAndDumpBothStatesNamingTheFieldThatParted) {
  const std::string data = bundled_data_dir();
  if (data.empty()) GTEST_SKIP() << "no bundled data";
  const std::string dir = make_temp_dir("online_desync");
  const std::string port = port_for(5);
  const std::vector<std::string> common = {"--data-dir", data, "--no-settings", "--software", "--fighter", "0"};
  std::vector<std::string> host_args = common, guest_args = common;
  const std::vector<std::string> host_own = {"--record", dir + "/host.replay", "--host", port};
  const std::vector<std::string> guest_own = {"--record", dir + "/guest.replay", "--join", "127.0.0.1:" + port};
  host_args.insert(host_args.end(), host_own.begin(), host_own.end());
  guest_args.insert(guest_args.end(), guest_own.begin(), guest_own.end());
  const std::vector<std::string> env = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"};
  std::vector<std::string> spoiled = env;
  spoiled.push_back("GAME_TEST_SPOIL_FRAME=30");

  running_game host = start_fight(host_args, env);
  ASSERT_TRUE(wait_for_output(host, "waiting for an opponent", 60.0)) << read_file(host.dir + "/out");
  running_game guest = start_fight(guest_args, spoiled);
  bool ended = false;
  double waited = 0;
  const game_run g = wait_for_exit(guest, 60.0, ended, waited);
  ASSERT_TRUE(ended) << "the guest did not finish";
  const game_run h = wait_for_exit(host, 10.0, ended, waited);
  ASSERT_TRUE(ended) << "the host did not finish";

  std::string dumps[2];
  int side = 0;
  for (const game_run* run : {&h, &g}) {
    EXPECT_NE(0, run->exit_status);
    EXPECT_NE(std::string::npos, run->out.find("ERROR: online fight desynchronised at frame 60\n")) << run->out;
    const std::string path = dump_path(run->out);
    ASSERT_FALSE(path.empty()) << run->out << run->err;
    EXPECT_EQ(dir, std::filesystem::path(path).parent_path().string());
    dumps[side++] = read_file(path);
  }
  // Each dump has both states, this side's first: the guest's fighter stands a pixel further right.
  std::smatch m;
  ASSERT_TRUE(std::regex_search(dumps[0], m, std::regex("\n\\* fighters\\[0\\]\\.x: (-?\\d+) \\| (-?\\d+)\n")))
      << dumps[0];
  const long host_x = std::stol(m[1]), guest_x = std::stol(m[2]);
  EXPECT_EQ(host_x + 1, guest_x);
  EXPECT_NE(std::string::npos,
            dumps[1].find("\n* fighters[0].x: " + std::to_string(guest_x) + " | " + std::to_string(host_x) + "\n"))
      << dumps[1];
  std::filesystem::remove_all(dir);
}

}  // namespace

// Two game processes on 127.0.0.1: --host and --join reach a ready session
// with the host's seed (a guest leaving the fight is heard by the host),
// different data stops both naming the file, and a close request or Escape
// ends a host that is still waiting.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/run_game.h"
#include "support/test_env.h"

namespace {

const std::vector<std::string> headless = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"};

// Below the kernel's ephemeral range (32768 and up), so no client socket of
// another test can hold it.
std::string port_for(int k) { return std::to_string(20000 + (getpid() * 13 + k) % 12000); }

TEST(OnlineRun, HostAndGuestShareTheHostsSeedOrStopOnDifferentData) {
  const std::string data = bundled_data_dir();
  if (data.empty()) GTEST_SKIP() << "no bundled data";
  const std::string port = port_for(1);
  running_game host = start_fight({"--data-dir", data, "--no-settings", "--seed", "777", "--host", port}, headless);
  ASSERT_TRUE(wait_for_output(host, "waiting for an opponent on port " + port, 60.0)) << read_file(host.dir + "/out");
  // The guest leaves the fight with Escape; the host hears it left.
  const std::string keys = make_temp_dir("online_leave");
  std::ofstream(keys + "/leave.keys") << "200 escape down\n";
  game_run guest = run_fight({"--data-dir", data, "--no-settings", "--script", keys + "/leave.keys", "--join",
                              "127.0.0.1:" + port}, headless);
  bool ended = false;
  double waited = 0;
  game_run hosted = wait_for_exit(host, 15.0, ended, waited);
  ASSERT_TRUE(ended);
  EXPECT_EQ(guest.exit_status, 0) << guest.out;
  EXPECT_EQ(hosted.exit_status, 0) << hosted.out;
  EXPECT_NE(guest.out.find("NOTICE: online: session with 127.0.0.1:" + port + " ready, seed 777\n"), std::string::npos)
      << guest.out;
  EXPECT_NE(hosted.out.find("ready, seed 777\n"), std::string::npos) << hosted.out;
  EXPECT_NE(guest.out.find("NOTICE: online: stopped by the player\n"), std::string::npos) << guest.out;
  EXPECT_NE(hosted.out.find("NOTICE: online: Opponent left\n"), std::string::npos) << hosted.out;
  std::filesystem::remove_all(keys);

  // The guest's copy of the data has one character file changed.
  const std::string changed = make_temp_dir("online_data");
  std::filesystem::copy(data, changed, std::filesystem::copy_options::recursive);
  std::ofstream(changed + "/game/fighter/kastrell_char.ini", std::ios::app) << "\n# changed\n";
  host = start_fight({"--data-dir", data, "--no-settings", "--host", port}, headless);
  ASSERT_TRUE(wait_for_output(host, "waiting for an opponent", 60.0)) << read_file(host.dir + "/out");
  guest = run_fight({"--data-dir", changed, "--no-settings", "--join", "127.0.0.1:" + port}, headless);
  hosted = wait_for_exit(host, 15.0, ended, waited);
  ASSERT_TRUE(ended);
  const std::string line = "ERROR: online: the data differs from the host's: game\\fighter\\kastrell_char.ini\n";
  EXPECT_EQ(guest.exit_status, 1);
  EXPECT_EQ(hosted.exit_status, 1);
  EXPECT_NE(guest.out.find(line), std::string::npos) << guest.out;
  EXPECT_NE(hosted.out.find(line), std::string::npos) << hosted.out;
  std::filesystem::remove_all(changed);
}

TEST(OnlineRun, AWaitingHostEndsAtACloseRequestOrEscape) {
  const std::string data = bundled_data_dir();
  if (data.empty()) GTEST_SKIP() << "no bundled data";
  running_game host = start_fight({"--data-dir", data, "--no-settings", "--host", port_for(2)}, headless);
  ASSERT_TRUE(wait_for_output(host, "waiting for an opponent", 60.0)) << read_file(host.dir + "/out");
  kill(host.pid, SIGTERM);
  bool ended = false;
  double waited = 0;
  game_run run = wait_for_exit(host, 5.0, ended, waited);
  EXPECT_TRUE(ended);
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_NE(run.out.find("NOTICE: online: stopped by the player\n"), std::string::npos) << run.out;

  const std::string dir = make_temp_dir("online_escape");
  std::ofstream(dir + "/escape.keys") << "20 escape down\n";
  running_game escaping = start_fight({"--data-dir", data, "--no-settings", "--script", dir + "/escape.keys", "--host",
                                      port_for(3)}, headless);
  game_run escaped = wait_for_exit(escaping, 10.0, ended, waited);
  EXPECT_TRUE(ended) << "Escape did not end the waiting";
  EXPECT_EQ(escaped.exit_status, 0) << escaped.err;
  EXPECT_NE(escaped.out.find("NOTICE: online: stopped by the player\n"), std::string::npos) << escaped.out;
  std::filesystem::remove_all(dir);
}

}  // namespace

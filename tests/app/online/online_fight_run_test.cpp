// Two game processes play a whole online match on 127.0.0.1, each from its
// own key script: straight to each other, and through a relay adding 100 ms
// each way with 5% loss, duplication and reordering. Both must agree on the
// winner, the final state and every confirmed input.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "support/run_game.h"
#include "support/test_env.h"
#include "udp_relay.h"

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> headless = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"};

// Below the kernel's ephemeral range (32768 and up), so no client socket of
// another test can hold it.
std::string port_for(int k) { return std::to_string(20000 + (getpid() * 17 + k * 7) % 12000); }

// The bundled data with every fighter at 1 health, so one blow ends a round.
std::string one_blow_tree() {
  const std::string data = bundled_data_dir();
  if (data.empty()) return "";
  const std::string dir = make_temp_dir("online_fight") + "/data";
  fs::copy(data, dir, fs::copy_options::recursive);
  for (const fs::directory_entry& e : fs::directory_iterator(dir + "/game/fighter")) {
    const std::string name = e.path().filename().string();
    if (name.size() < 9 || name.substr(name.size() - 9) != "_char.ini") continue;
    const std::string text = std::regex_replace(read_file(e.path().string()), std::regex("\nhp=[0-9]+"), "\nhp=1");
    std::ofstream(e.path(), std::ios::binary | std::ios::trunc) << text;
  }
  return dir;
}

// The guest walks in and punches in bursts, every 200 frames; the host jumps now and then.
std::string guest_keys() {
  std::string s = "30 right down\n";
  for (int c = 0; c < 3000; c += 200) {
    for (int f = c + 130; f <= c + 196; f += 6) s += std::to_string(f) + " space down\n" + std::to_string(f + 2) + " space up\n";
  }
  return s;
}

std::string host_keys() {
  std::string s;
  for (int f = 40; f < 3000; f += 37) s += std::to_string(f) + " up down\n" + std::to_string(f + 3) + " up up\n";
  return s;
}

struct online_pair {
  game_run host, guest;
  std::string host_replay, guest_replay;
};

// Host on `port`; the guest joins `join_port` (the host's, or a relay's in front of it).
online_pair play_online(const std::string& tree, const std::string& dir, const std::string& port,
                        const std::string& join_port) {
  write_text_file(dir, "host.keys", host_keys());
  write_text_file(dir, "guest.keys", guest_keys());
  const std::vector<std::string> common = {"--data-dir", tree, "--no-settings", "--software"};
  std::vector<std::string> host_args = common, guest_args = common;
  const std::vector<std::string> host_own = {"--seed", "5", "--fighter", "1", "--script", dir + "/host.keys",
                                             "--record", dir + "/host.replay", "--host", port};
  const std::vector<std::string> guest_own = {"--fighter", "2", "--script", dir + "/guest.keys", "--record",
                                              dir + "/guest.replay", "--join", "127.0.0.1:" + join_port};
  host_args.insert(host_args.end(), host_own.begin(), host_own.end());
  guest_args.insert(guest_args.end(), guest_own.begin(), guest_own.end());
  online_pair out;
  running_game host = start_fight(host_args, headless);
  EXPECT_TRUE(wait_for_output(host, "waiting for an opponent", 60.0)) << read_file(host.dir + "/out");
  running_game guest = start_fight(guest_args, headless);
  bool ended = false;
  double waited = 0;
  out.guest = wait_for_exit(guest, 60.0, ended, waited);
  EXPECT_TRUE(ended) << "the guest did not finish";
  out.host = wait_for_exit(host, 10.0, ended, waited);
  EXPECT_TRUE(ended) << "the host did not finish";
  out.host_replay = read_file(dir + "/host.replay");
  out.guest_replay = read_file(dir + "/guest.replay");
  return out;
}

std::string line_with(const std::string& log, const std::string& start) {
  const size_t at = log.find(start);
  if (at == std::string::npos) return "";
  return log.substr(at, log.find('\n', at) - at);
}

void expect_same_match(const online_pair& p) {
  EXPECT_EQ(0, p.host.exit_status) << p.host.err;
  EXPECT_EQ(0, p.guest.exit_status) << p.guest.err;
  for (const game_run* run : {&p.host, &p.guest}) {
    EXPECT_NE(std::string::npos, run->out.find("NOTICE: online: fight starts")) << run->out;
    EXPECT_NE(std::string::npos, run->out.find("round [1] begins\n")) << run->out;
    EXPECT_NE(std::string::npos, run->out.find("NOTICE: online fight over: ")) << run->out;
  }
  // The guest's fighter (entry 0) lands every blow; both sides say so at the same frame and state.
  const std::string won = line_with(p.host.out, "NOTICE: online: match won by entry [0], frame ");
  EXPECT_FALSE(won.empty()) << p.host.out;
  // Two rounds inside one round's clock (60 s): both ended by a knock-out, so blows landed.
  std::smatch frame;
  ASSERT_TRUE(std::regex_search(won, frame, std::regex("frame (\\d+),"))) << won;
  EXPECT_LT(std::stol(frame[1]), 60 * 60) << won;
  EXPECT_EQ(won, line_with(p.guest.out, "NOTICE: online: match won by entry ["));
  EXPECT_NE(std::string::npos, p.host_replay.find(" p1 up\n")) << p.host_replay;
  EXPECT_NE(std::string::npos, p.host_replay.find(" p2 right+punch\n")) << p.host_replay;
  EXPECT_EQ(p.host_replay, p.guest_replay);
}

TEST(OnlineFightRun, BothSidesPlayTheSameMatchStraightAndThroughALossyRelay) {
  const std::string tree = one_blow_tree();
  if (tree.empty()) GTEST_SKIP() << "no bundled data";
  const std::string straight_dir = make_temp_dir("online_straight"), lossy_dir = make_temp_dir("online_lossy");
  const std::string straight_port = port_for(1), lossy_port = port_for(2);

  relay_conditions bad;
  bad.delay_ms = 100;
  bad.loss = bad.duplicate = bad.reorder = 0.05;
  bad.seed = 3;
  udp_relay relay(bad);
  std::string error;
  ASSERT_TRUE(relay.open(0, "127.0.0.1", static_cast<uint16_t>(std::stoi(lossy_port)), error)) << error;
  std::atomic<bool> relaying{true};
  std::thread relay_thread([&] {
    while (relaying) relay.poll(5);
  });

  // Both matches at once: each runs at the game's own pace.
  online_pair straight;
  std::thread straight_thread([&] { straight = play_online(tree, straight_dir, straight_port, straight_port); });
  const online_pair lossy = play_online(tree, lossy_dir, lossy_port, std::to_string(relay.port()));
  straight_thread.join();
  relaying = false;
  relay_thread.join();

  expect_same_match(straight);
  expect_same_match(lossy);
  EXPECT_GT(relay.counts().lost, 0);
  for (const game_run* run : std::initializer_list<const game_run*>{&straight.host, &straight.guest, &lossy.host, &lossy.guest}) {
    std::printf("%s\n", line_with(run->out, "NOTICE: online fight over: ").c_str());
  }
  std::smatch m;
  const std::string stats = line_with(lossy.guest.out, "NOTICE: online fight over: ");
  ASSERT_TRUE(std::regex_search(stats, m, std::regex("(\\d+) rollbacks \\(deepest (\\d+)\\)"))) << stats;
  EXPECT_GT(std::stol(m[1]), 0) << stats;
  EXPECT_GE(std::stoi(m[2]), 2) << stats;
  fs::remove_all(fs::path(tree).parent_path());
  fs::remove_all(straight_dir);
  fs::remove_all(lossy_dir);
}

}  // namespace

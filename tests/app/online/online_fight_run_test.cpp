// Two game processes play a whole online match on 127.0.0.1, each from its
// own key script, the guest joining through a relay: straight, at 60 ms each
// way with 10 ms jitter, and at 100 ms each way with 5% loss, duplication and
// reordering; and straight again while a third party throws garbage and
// replayed datagrams at the host. Both sides must agree on the winner, the
// final state and every confirmed input, and the replay must play the same
// match back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <atomic>
#include <functional>
#include <random>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "support/run_game.h"
#include "support/test_env.h"
#include "net/session.h"
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
    const std::string text = std::regex_replace(read_file(e.path().string()), std::regex("(^|\n)hp=[0-9]+"), "$1hp=1");
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

// The match line after "match won by entry [", as the fight or its replay printed it.
std::string won_tail(const std::string& log, const std::string& start) {
  const std::string line = line_with(log, start + "match won by entry [");
  return line.empty() ? "" : line.substr(line.find("match won by"));
}

void expect_same_match(const online_pair& p, const std::string& tree, const std::string& dir) {
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
  EXPECT_NE(std::string::npos, p.host_replay.find("\nguest_fighter 2\n")) << p.host_replay;
  EXPECT_EQ(p.host_replay, p.guest_replay);

  // Played back, the replay steps the same match to the same end, checking the state every 60 frames.
  long checks = 0;
  for (size_t at = p.host_replay.find(" check "); at != std::string::npos; at = p.host_replay.find(" check ", at + 1)) ++checks;
  EXPECT_EQ(checks, std::stol(frame[1]) / 60) << p.host_replay;
  const game_run replayed = run_fight({"--data-dir", tree, "--no-settings", "--software", "--no-limiter", "--replay",
                                       dir + "/host.replay"},
                                      headless);
  EXPECT_EQ(0, replayed.exit_status) << replayed.out << replayed.err;
  EXPECT_EQ(won_tail(p.host.out, "NOTICE: online: "), won_tail(replayed.out, "NOTICE: replay: ")) << replayed.out;
  EXPECT_NE(std::string::npos, replayed.out.find("ended at frame " + std::to_string(std::stol(frame[1]) + 1) +
                                                 ", every check matched"))
      << replayed.out;
}

struct relayed_match {
  online_pair pair;
  relay_counts counts;
};

// A whole match with the guest joining through a relay at `c`; `meanwhile`
// runs in the relay's thread between polls.
relayed_match play_through_relay(const relay_conditions& c, int k, const std::string& tree, const std::string& dir,
                                 const std::function<void(udp_relay&, uint16_t host_port)>& meanwhile = nullptr) {
  const std::string port = port_for(k);
  udp_relay relay(c);
  relay.keep_copies(400);
  std::string error;
  EXPECT_TRUE(relay.open(0, "127.0.0.1", static_cast<uint16_t>(std::stoi(port)), error)) << error;
  std::atomic<bool> relaying{true};
  std::thread relay_thread([&] {
    while (relaying) {
      relay.poll(5);
      if (meanwhile) meanwhile(relay, static_cast<uint16_t>(std::stoi(port)));
    }
  });
  relayed_match out;
  out.pair = play_online(tree, dir, port, std::to_string(relay.port()));
  relaying = false;
  relay_thread.join();
  out.counts = relay.counts();
  for (const game_run* run : {&out.pair.host, &out.pair.guest}) {
    std::printf("%s\n", line_with(run->out, "NOTICE: online fight over: ").c_str());
  }
  return out;
}

// R and D of a side's statistics line.
void rollbacks_of(const game_run& run, long& rollbacks, int& deepest) {
  const std::string stats = line_with(run.out, "NOTICE: online fight over: ");
  std::smatch m;
  ASSERT_TRUE(std::regex_search(stats, m, std::regex("(\\d+) rollbacks \\(deepest (\\d+)\\)"))) << stats;
  rollbacks = std::stol(m[1]);
  deepest = std::stoi(m[2]);
}

class OnlineFightRun : public ::testing::Test {
 protected:
  void SetUp() override {
    tree_ = one_blow_tree();
    if (tree_.empty()) GTEST_SKIP() << "no bundled data";
    dir_ = make_temp_dir("online_run");
  }
  void TearDown() override {
    if (!tree_.empty()) fs::remove_all(fs::path(tree_).parent_path());
    if (!dir_.empty()) fs::remove_all(dir_);
  }
  std::string tree_, dir_;
};

TEST_F(OnlineFightRun, StraightThroughTheRelay) {
  const relayed_match m = play_through_relay(relay_conditions(), 1, tree_, dir_);
  expect_same_match(m.pair, tree_, dir_);
}

TEST_F(OnlineFightRun, SixtyMillisecondsEachWayWithJitter) {
  relay_conditions c;
  c.delay_ms = 60;
  c.jitter_ms = 10;
  c.seed = 2;
  const relayed_match m = play_through_relay(c, 2, tree_, dir_);
  expect_same_match(m.pair, tree_, dir_);
}

TEST_F(OnlineFightRun, HundredMillisecondsEachWayWithLossDuplicationAndReordering) {
  relay_conditions c;
  c.delay_ms = 100;
  c.loss = c.duplicate = c.reorder = 0.05;
  c.seed = 3;
  const relayed_match m = play_through_relay(c, 3, tree_, dir_);
  expect_same_match(m.pair, tree_, dir_);
  EXPECT_GT(m.counts.lost, 0);
  EXPECT_GT(m.counts.duplicated, 0);
  EXPECT_GT(m.counts.reordered, 0);
  for (const game_run* run : {&m.pair.host, &m.pair.guest}) {
    long rollbacks = 0;
    int deepest = 0;
    rollbacks_of(*run, rollbacks, deepest);
    EXPECT_GT(rollbacks, 0) << run->out;
    EXPECT_GE(deepest, 2) << run->out;
  }
}

// While the match runs, a socket of its own sends the host random bytes, the
// guest's own datagrams again and altered copies of them, and a third game
// asks to join: the host must play on exactly as in a clean match.
TEST_F(OnlineFightRun, GarbageReplayedPacketsAndASecondGuestAtTheHostChangeNothing) {
  const int attacker = socket(AF_INET, SOCK_DGRAM, 0);
  ASSERT_GE(attacker, 0);
  std::mt19937 rng(7);
  long sent = 0;
  net_session_setup intruder_setup;
  intruder_setup.build = "intruder";
  net_session intruder(intruder_setup);
  bool intruder_joined = false;
  long polls = 0;
  const relayed_match m = play_through_relay(relay_conditions(), 4, tree_, dir_, [&](udp_relay& relay, uint16_t host_port) {
    // From the fight's start on: the first datagrams are the guest's connection and handshake.
    const std::vector<std::vector<char>>& copies = relay.copies();
    if (copies.size() < 60 || ++polls % 3 != 0) return;
    if (!intruder_joined) intruder_joined = intruder.join("127.0.0.1", host_port);
    intruder.service();
    sockaddr_in host{};
    host.sin_family = AF_INET;
    host.sin_port = htons(host_port);
    host.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (int k = 0; k < 3; ++k, ++sent) {
      std::vector<char> bytes = copies[rng() % copies.size()];
      if (k == 1) bytes[rng() % bytes.size()] ^= static_cast<char>(1 + rng() % 255);
      if (k == 2) bytes.assign(1 + rng() % 1200, 0);
      if (k == 2) {
        for (char& b : bytes) b = static_cast<char>(rng());
      }
      sendto(attacker, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&host), sizeof host);
    }
  });
  close(attacker);
  EXPECT_GT(sent, 1000);
  EXPECT_TRUE(intruder_joined);
  expect_same_match(m.pair, tree_, dir_);
}

}  // namespace

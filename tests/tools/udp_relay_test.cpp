// The relay through real sockets on 127.0.0.1: it delays each way by what it
// is told, drops, doubles and holds back datagrams at the rates it is told,
// and a seed repeats the same choices.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "udp_relay.h"

namespace {

using clock_type = std::chrono::steady_clock;

struct socket_at {
  int fd;
  uint16_t port = 0;
  socket_at() : fd(socket(AF_INET, SOCK_DGRAM, 0)) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t n = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
    port = ntohs(a.sin_port);
  }
  ~socket_at() { close(fd); }
  void send_to(uint16_t to, int value) const {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(to);
    sendto(fd, &value, sizeof value, 0, reinterpret_cast<sockaddr*>(&a), sizeof a);
  }
  // Everything that arrives within `ms` of the last datagram (or of the call).
  std::vector<int> receive_all(int ms, uint16_t* from = nullptr) const {
    std::vector<int> got;
    pollfd p{fd, POLLIN, 0};
    while (::poll(&p, 1, ms) > 0) {
      int v = 0;
      sockaddr_in a{};
      socklen_t n = sizeof a;
      if (recvfrom(fd, &v, sizeof v, 0, reinterpret_cast<sockaddr*>(&a), &n) == sizeof v) got.push_back(v);
      if (from) *from = ntohs(a.sin_port);
    }
    return got;
  }
};

struct running_relay {
  udp_relay relay;
  std::atomic<bool> stop{false};
  std::thread thread;
  running_relay(const relay_conditions& c, uint16_t target) : relay(c) {
    std::string error;
    EXPECT_TRUE(relay.open(0, "127.0.0.1", target, error)) << error;
    thread = std::thread([this] {
      while (!stop) relay.poll(5);
    });
  }
  // Stops the relay's thread: its counts are then final and safe to read.
  const relay_counts& finish() {
    stop = true;
    if (thread.joinable()) thread.join();
    return relay.counts();
  }
  ~running_relay() { finish(); }
};

TEST(UdpRelay, DelaysEachWayAndAnswersGoBackToTheSender) {
  socket_at client, target;
  relay_conditions c;
  c.delay_ms = 60;
  running_relay r(c, target.port);
  auto sent = clock_type::now();
  for (int i = 0; i < 10; ++i) client.send_to(r.relay.port(), i);
  uint16_t relay_side = 0;
  std::vector<int> got = target.receive_all(300, &relay_side);
  EXPECT_GE(clock_type::now() - sent, std::chrono::milliseconds(60));
  EXPECT_EQ(got, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));

  auto answered = clock_type::now();
  target.send_to(relay_side, 77);
  pollfd p{client.fd, POLLIN, 0};
  ASSERT_EQ(::poll(&p, 1, 1000), 1);
  EXPECT_GE(clock_type::now() - answered, std::chrono::milliseconds(60));
  EXPECT_EQ(client.receive_all(50), std::vector<int>{77});
}

relay_counts lossy_run(unsigned seed, std::vector<int>& got) {
  socket_at client, target;
  relay_conditions c;
  c.loss = 0.25;
  c.duplicate = 0.2;
  c.reorder = 0.2;
  c.seed = seed;
  running_relay r(c, target.port);
  for (int i = 0; i < 300; ++i) {
    client.send_to(r.relay.port(), i);
    if (i % 10 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  got = target.receive_all(300);
  return r.finish();
}

TEST(UdpRelay, LosesDoublesAndReordersAtTheRatesGivenAndRepeatsWithTheSeed) {
  std::vector<int> got, again;
  relay_counts n = lossy_run(11, got);
  relay_counts m = lossy_run(11, again);
  EXPECT_EQ(n.received, 300);
  EXPECT_NEAR(n.lost, 75, 30);
  EXPECT_NEAR(n.duplicated, 45, 25);
  EXPECT_EQ(static_cast<long>(got.size()), n.received - n.lost + n.duplicated);
  long inversions = 0;
  for (size_t i = 1; i < got.size(); ++i) inversions += got[i] < got[i - 1];
  EXPECT_GT(inversions, 10);
  EXPECT_EQ(n.lost, m.lost);
  EXPECT_EQ(n.duplicated, m.duplicated);
  EXPECT_EQ(n.reordered, m.reordered);
}

}  // namespace

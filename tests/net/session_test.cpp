// Two sessions on 127.0.0.1: the handshake, the data check, refusals of
// strangers, and the faults a player meets (a host nobody answers at, a peer
// that goes silent).
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

#include "net/session.h"

namespace {

// Below the kernel's ephemeral range (32768 and up), where client sockets live.
uint16_t test_port(int k) { return static_cast<uint16_t>(20000 + (getpid() * 7 + k) % 12000); }

net_session_setup setup_with(const char* file, uint64_t hash) {
  net_session_setup s;
  s.build = "1.0.0";
  s.files = {{"game\\game.ini", 1}, {file, hash}, {"rsrc\\z.png", 3}};
  s.match.seed = 4242;
  s.match.screen_w = 640;
  s.match.screen_h = 480;
  s.match.rules = {{"rounds", 2}};
  s.lost_after_ms = 800;
  s.connect_timeout_ms = 600;
  return s;
}

// Services both until `done` holds or `ms` pass; true when it held.
bool pump(std::initializer_list<net_session*> sessions, const std::function<bool()>& done, int ms = 3000) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    for (net_session* s : sessions) s->service();
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return false;
}

void send_garbage(uint16_t port) {
  int fd = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const char junk[] = "\x00\x01VB\x04garbage that is no packet of ours";
  for (int i = 0; i < 50; ++i) sendto(fd, junk, sizeof junk - static_cast<size_t>(i % 7), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
  ::close(fd);
}

TEST(Session, HandshakeThenMessagesBothWaysWhileStrangersAreRefused) {
  uint16_t port = test_port(1);
  net_session host(setup_with("game\\a.ini", 2)), guest(setup_with("game\\a.ini", 2));
  ASSERT_TRUE(host.host(port)) << host.error();
  ASSERT_TRUE(guest.join("127.0.0.1", port)) << guest.error();
  ASSERT_TRUE(pump({&host, &guest}, [&] {
    return host.state() == net_session_state::ready && guest.state() == net_session_state::ready;
  })) << host.error() << " / " << guest.error();
  EXPECT_NE(host.token(), 0u);
  EXPECT_EQ(guest.token(), host.token());
  EXPECT_EQ(guest.match().seed, 4242u);
  EXPECT_EQ(guest.match().screen_w, 640);
  ASSERT_EQ(guest.match().rules.size(), 1u);
  EXPECT_EQ(guest.match().rules[0].value, 2);

  // A second guest is told the host is busy; garbage at the host's port changes nothing.
  net_session second(setup_with("game\\a.ini", 2));
  ASSERT_TRUE(second.join("127.0.0.1", port));
  send_garbage(port);
  EXPECT_TRUE(pump({&host, &guest, &second}, [&] { return second.state() == net_session_state::failed; }));
  EXPECT_EQ(second.error(), "ERROR: online: the host at 127.0.0.1:" + std::to_string(port) + " is already in a match");
  EXPECT_EQ(host.guests_refused(), 1);
  EXPECT_EQ(host.state(), net_session_state::ready);

  net_inputs in;
  in.first_frame = 5;
  in.actions = {action_punch, action_left};
  in.ack = 3;
  guest.send_inputs(in);
  host.send_pick(net_pick{2, 0});
  net_message at_host, at_guest;
  ASSERT_TRUE(pump({&host, &guest}, [&] { return host.receive(at_host); }));
  ASSERT_TRUE(pump({&host, &guest}, [&] { return guest.receive(at_guest); }));
  EXPECT_EQ(at_host.kind, net_kind::inputs);
  EXPECT_EQ(at_host.inputs.actions, in.actions);
  EXPECT_EQ(at_guest.kind, net_kind::pick);
  EXPECT_EQ(at_guest.pick.fighter, 2);
  EXPECT_EQ(host.state(), net_session_state::ready);
  EXPECT_EQ(guest.state(), net_session_state::ready);
}

TEST(Session, DifferentDataStopsBothNamingTheFirstDifferingFile) {
  uint16_t port = test_port(2);
  net_session host(setup_with("game\\fighter\\brela_char.ini", 2)), guest(setup_with("game\\fighter\\brela_char.ini", 9));
  ASSERT_TRUE(host.host(port));
  ASSERT_TRUE(guest.join("127.0.0.1", port));
  ASSERT_TRUE(pump({&host, &guest}, [&] {
    return host.state() == net_session_state::failed && guest.state() == net_session_state::failed;
  }));
  const char* line = "ERROR: online: the data differs from the host's: game\\fighter\\brela_char.ini";
  EXPECT_EQ(host.error(), line);
  EXPECT_EQ(guest.error(), line);
}

TEST(Session, AGuestGivesUpOnAHostThatNeverAnswers) {
  uint16_t port = test_port(3);
  net_session guest(setup_with("game\\a.ini", 2));
  ASSERT_TRUE(guest.join("127.0.0.1", port));
  auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(pump({&guest}, [&] { return guest.state() == net_session_state::failed; }));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(600));
  EXPECT_EQ(guest.error(), "ERROR: online: can't reach 127.0.0.1:" + std::to_string(port));
}

TEST(Session, AGuestStartedFirstReachesAHostThatComesUpLater) {
  uint16_t port = test_port(5);
  net_session_setup patient = setup_with("game\\a.ini", 2);
  patient.connect_timeout_ms = 5000;
  net_session guest(patient), host(setup_with("game\\a.ini", 2));
  ASSERT_TRUE(guest.join("127.0.0.1", port));
  EXPECT_FALSE(pump({&guest}, [&] { return guest.state() != net_session_state::connecting; }, 700));
  ASSERT_TRUE(host.host(port));
  EXPECT_TRUE(pump({&host, &guest}, [&] {
    return host.state() == net_session_state::ready && guest.state() == net_session_state::ready;
  }, 4000)) << guest.error();
}

TEST(Session, APeerThatGoesSilentIsLost) {
  uint16_t port = test_port(4);
  net_session host(setup_with("game\\a.ini", 2)), guest(setup_with("game\\a.ini", 2));
  ASSERT_TRUE(host.host(port));
  ASSERT_TRUE(guest.join("127.0.0.1", port));
  ASSERT_TRUE(pump({&host, &guest}, [&] {
    return host.state() == net_session_state::ready && guest.state() == net_session_state::ready;
  }));
  // Only the host keeps servicing: the guest sends nothing more, not even ENet's pings.
  auto silent = std::chrono::steady_clock::now();
  ASSERT_TRUE(pump({&host}, [&] { return host.state() == net_session_state::failed; }, 6000));
  EXPECT_EQ(host.error(), "Connection lost");
  EXPECT_GE(std::chrono::steady_clock::now() - silent, std::chrono::milliseconds(800));
}

}  // namespace

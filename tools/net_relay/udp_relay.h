// A UDP relay that makes a network worse on purpose, for testing online play
// on one machine: datagrams arriving at the listening port go on to the
// target, and the target's answers go back to whoever sent last, each one
// delayed, jittered, lost, duplicated or held back behind later ones as the
// conditions say, drawn from a seeded generator so a run can be repeated.
#pragma once
#include <netinet/in.h>

#include <cstdint>
#include <queue>
#include <random>
#include <string>
#include <vector>

struct relay_conditions {
  double delay_ms = 0;    // each way
  double jitter_ms = 0;   // plus or minus, uniform
  double loss = 0;        // probability a datagram is dropped
  double duplicate = 0;   // probability it is sent twice
  double reorder = 0;     // probability it is held back behind the next ones
  unsigned seed = 1;
};

struct relay_counts {
  long received = 0, forwarded = 0, lost = 0, duplicated = 0, reordered = 0;
};

class udp_relay {
 public:
  explicit udp_relay(const relay_conditions& c) : conditions_(c), rng_(c.seed) {}
  ~udp_relay();
  // Listens on 127.0.0.1-or-any `listen_port` (0: any free port, see port()).
  bool open(uint16_t listen_port, const std::string& target_host, uint16_t target_port, std::string& error);
  uint16_t port() const { return listen_port_; }
  // Waits at most `timeout_ms` for traffic, forwards what is due.
  void poll(int timeout_ms);
  const relay_counts& counts() const { return counts_; }
  // Keeps a copy of the first `most` datagrams bound for the target, as they
  // came (a test replays them from elsewhere).
  void keep_copies(size_t most) { copies_most_ = most; }
  const std::vector<std::vector<char>>& copies() const { return copies_; }

 private:
  struct pending {
    double due_ms;
    long order;
    bool to_target;
    std::vector<char> bytes;
    bool operator>(const pending& o) const { return due_ms != o.due_ms ? due_ms > o.due_ms : order > o.order; }
  };
  void take(int fd, bool to_target);
  void schedule(bool to_target, const std::vector<char>& bytes);
  void send_due();
  double now_ms() const;

  relay_conditions conditions_;
  std::mt19937 rng_;
  int client_fd_ = -1, target_fd_ = -1;
  uint16_t listen_port_ = 0;
  sockaddr_in target_{}, client_{};
  bool have_client_ = false;
  std::priority_queue<pending, std::vector<pending>, std::greater<pending>> queue_;
  long order_ = 0;
  relay_counts counts_;
  size_t copies_most_ = 0;
  std::vector<std::vector<char>> copies_;
};

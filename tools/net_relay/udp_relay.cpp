#include "udp_relay.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>

udp_relay::~udp_relay() {
  if (client_fd_ >= 0) close(client_fd_);
  if (target_fd_ >= 0) close(target_fd_);
}

double udp_relay::now_ms() const {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

bool udp_relay::open(uint16_t listen_port, const std::string& target_host, uint16_t target_port, std::string& error) {
  addrinfo hints{}, *found = nullptr;
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  if (getaddrinfo(target_host.c_str(), nullptr, &hints, &found) != 0 || !found) {
    error = "unknown host " + target_host;
    return false;
  }
  target_ = *reinterpret_cast<sockaddr_in*>(found->ai_addr);
  target_.sin_port = htons(target_port);
  freeaddrinfo(found);

  client_fd_ = socket(AF_INET, SOCK_DGRAM, 0);
  target_fd_ = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in here{};
  here.sin_family = AF_INET;
  here.sin_addr.s_addr = htonl(INADDR_ANY);
  here.sin_port = htons(listen_port);
  if (client_fd_ < 0 || target_fd_ < 0 || bind(client_fd_, reinterpret_cast<sockaddr*>(&here), sizeof here) != 0) {
    error = "can't listen on port " + std::to_string(listen_port) + ": " + std::strerror(errno);
    return false;
  }
  socklen_t size = sizeof here;
  getsockname(client_fd_, reinterpret_cast<sockaddr*>(&here), &size);
  listen_port_ = ntohs(here.sin_port);
  return true;
}

void udp_relay::schedule(bool to_target, const std::vector<char>& bytes) {
  std::uniform_real_distribution<double> unit(0, 1);
  ++counts_.received;
  if (unit(rng_) < conditions_.loss) {
    ++counts_.lost;
    return;
  }
  int copies = 1;
  if (unit(rng_) < conditions_.duplicate) {
    copies = 2;
    ++counts_.duplicated;
  }
  for (int k = 0; k < copies; ++k) {
    double due = now_ms() + conditions_.delay_ms + (unit(rng_) * 2 - 1) * conditions_.jitter_ms;
    if (unit(rng_) < conditions_.reorder) {
      // Held back long enough for the next few datagrams to overtake it.
      due += 20 + 30 * unit(rng_);
      ++counts_.reordered;
    }
    queue_.push(pending{due, order_++, to_target, bytes});
  }
}

void udp_relay::take(int fd, bool to_target) {
  // Everything waiting, so a burst never overflows the socket's buffer.
  static thread_local std::vector<char> buffer(65536);
  for (int k = 0; k < 1024; ++k) {
    sockaddr_in from{};
    socklen_t size = sizeof from;
    ssize_t n = recvfrom(fd, buffer.data(), buffer.size(), MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &size);
    if (n < 0) return;
    if (to_target) {
      client_ = from;  // answers go back to whoever spoke last
      have_client_ = true;
      if (copies_.size() < copies_most_) copies_.emplace_back(buffer.begin(), buffer.begin() + n);
    }
    schedule(to_target, std::vector<char>(buffer.begin(), buffer.begin() + n));
  }
}

void udp_relay::send_due() {
  double now = now_ms();
  while (!queue_.empty() && queue_.top().due_ms <= now) {
    const pending& p = queue_.top();
    if (p.to_target) {
      sendto(target_fd_, p.bytes.data(), p.bytes.size(), 0, reinterpret_cast<const sockaddr*>(&target_), sizeof target_);
      ++counts_.forwarded;
    } else if (have_client_) {
      sendto(client_fd_, p.bytes.data(), p.bytes.size(), 0, reinterpret_cast<const sockaddr*>(&client_), sizeof client_);
      ++counts_.forwarded;
    }
    queue_.pop();
  }
}

void udp_relay::poll(int timeout_ms) {
  if (!queue_.empty()) {
    int until_due = static_cast<int>(std::max(0.0, queue_.top().due_ms - now_ms())) + 1;
    timeout_ms = std::min(timeout_ms, until_due);
  }
  pollfd fds[2] = {{client_fd_, POLLIN, 0}, {target_fd_, POLLIN, 0}};
  if (::poll(fds, 2, timeout_ms) > 0) {
    if (fds[0].revents & POLLIN) take(client_fd_, true);
    if (fds[1].revents & POLLIN) take(target_fd_, false);
  }
  send_due();
}

// net_relay: a UDP relay adding delay, jitter, loss, duplication and
// reordering, for trying online play on one machine. See --help.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "udp_relay.h"

namespace {

volatile std::sig_atomic_t stop = 0;

void usage() {
  std::printf(
      "Usage: net_relay --listen PORT --to HOST:PORT [options]\n"
      "Relays UDP datagrams from PORT to HOST:PORT and the answers back.\n"
      "  --delay MS        delay each way (default 0)\n"
      "  --jitter MS       plus or minus this much on each datagram (default 0)\n"
      "  --loss P          drop a datagram with probability P (0..1)\n"
      "  --duplicate P     send a datagram twice with probability P\n"
      "  --reorder P       hold a datagram back behind later ones with probability P\n"
      "  --seed N          seed of the random choices (default 1)\n"
      "  --seconds N       stop after N seconds (default: at SIGINT or SIGTERM)\n");
}

bool number(const char* text, double low, double high, double& out) {
  char* end = nullptr;
  out = std::strtod(text, &end);
  return end != text && *end == '\0' && out >= low && out <= high;
}

}  // namespace

int main(int argc, char** argv) {
  relay_conditions c;
  double listen = -1, seconds = -1, seed = 1;
  std::string to_host;
  double to_port = -1;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
    bool ok = v != nullptr;
    if (a == "--help") {
      usage();
      return 0;
    } else if (a == "--listen") {
      ok = ok && number(v, 0, 65535, listen);
    } else if (a == "--to" && ok) {
      const char* colon = std::strrchr(v, ':');
      ok = colon && colon != v && number(colon + 1, 1, 65535, to_port);
      if (ok) to_host.assign(v, colon);
    } else if (a == "--delay") {
      ok = ok && number(v, 0, 10000, c.delay_ms);
    } else if (a == "--jitter") {
      ok = ok && number(v, 0, 10000, c.jitter_ms);
    } else if (a == "--loss") {
      ok = ok && number(v, 0, 1, c.loss);
    } else if (a == "--duplicate") {
      ok = ok && number(v, 0, 1, c.duplicate);
    } else if (a == "--reorder") {
      ok = ok && number(v, 0, 1, c.reorder);
    } else if (a == "--seed") {
      ok = ok && number(v, 0, 4294967295.0, seed);
    } else if (a == "--seconds") {
      ok = ok && number(v, 0, 1e7, seconds);
    } else {
      ok = false;
    }
    if (!ok) {
      std::fprintf(stderr, "net_relay: bad or missing value for %s (try --help)\n", a.c_str());
      return 2;
    }
    ++i;
  }
  if (listen < 0 || to_port < 0) {
    usage();
    return 2;
  }
  c.seed = static_cast<unsigned>(seed);
  udp_relay relay(c);
  std::string error;
  if (!relay.open(static_cast<uint16_t>(listen), to_host, static_cast<uint16_t>(to_port), error)) {
    std::fprintf(stderr, "net_relay: %s\n", error.c_str());
    return 1;
  }
  std::signal(SIGINT, [](int) { stop = 1; });
  std::signal(SIGTERM, [](int) { stop = 1; });
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  std::printf("net_relay: port %u to %s:%u\n", relay.port(), to_host.c_str(), static_cast<unsigned>(to_port));
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(static_cast<long>(seconds * 1000));
  while (!stop && (seconds < 0 || std::chrono::steady_clock::now() < end)) relay.poll(10);
  const relay_counts& n = relay.counts();
  std::printf("net_relay: %ld received, %ld forwarded, %ld lost, %ld duplicated, %ld reordered\n", n.received,
              n.forwarded, n.lost, n.duplicated, n.reordered);
  return 0;
}

// Online benchmark: two sides, each in its own thread at 60 frames a second,
// play a small deterministic game over real ENet sessions through the UDP
// relay at a given condition, and print what a player would feel: the time
// each frame's network and rollback work takes (median, p99), rollbacks a
// second, the deepest rollback, frames waited, and whether both sides agreed.
// The game is the rollback tests' toy game, so the figures are the netcode's
// own cost; a fight adds its step time once per re-simulated frame.
//   online_bench DELAY_MS JITTER_MS LOSS SECONDS [SEED]
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "net/rollback.h"
#include "net/session.h"
#include "udp_relay.h"

namespace {

using steady = std::chrono::steady_clock;

struct bench_game : rollback_game {
  uint64_t state = 1469598103934665603ull;
  int x[2] = {0, 0};
  struct saved {
    uint64_t state;
    int x[2];
  } slots[rollback_slots];
  void save_state(int s) override { slots[s] = {state, {x[0], x[1]}}; }
  void load_state(int s) override {
    state = slots[s].state;
    x[0] = slots[s].x[0];
    x[1] = slots[s].x[1];
  }
  void step(const player_actions in[2]) override {
    for (int e = 0; e < 2; ++e) {
      x[e] += (in[e] & action_right ? 2 : 0) - (in[e] & action_left ? 2 : 0);
      state = (state ^ in[e]) * 1099511628211ull;
    }
  }
  uint64_t state_hash() override { return state ^ static_cast<uint64_t>(x[0] * 31 + x[1]); }
};

player_actions script(int entry, int frame) {
  uint32_t h = static_cast<uint32_t>(frame / (6 + 3 * entry)) * 2654435761u + static_cast<uint32_t>(entry) * 977u;
  h ^= h >> 15;
  const player_actions choices[] = {0, action_right, action_left, action_punch, action_right | action_kick};
  return choices[h % 5];
}

struct side_result {
  rollback_stats stats;
  std::vector<double> work_ms;
  long hashes = 0;
  int desync = -1;
  bool failed = false;
};

void play_side(net_session& session, int entry, int frames, std::atomic<bool>& go, side_result& out) {
  bench_game game;
  rollback_engine engine(game, entry, rollback_default_delay);
  while (!go) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  auto next = steady::now();
  while (engine.frame() < frames && out.work_ms.size() < static_cast<size_t>(frames) * 2) {
    auto start = steady::now();
    session.service();
    if (session.state() != net_session_state::ready) {
      out.failed = true;
      break;
    }
    net_message m;
    while (session.receive(m)) {
      if (m.kind == net_kind::inputs) engine.receive(m.inputs);
      if (m.kind == net_kind::state_hash) engine.receive_hash(m.state_hash);
    }
    engine.set_ping(session.ping_ms());
    engine.advance(script(entry, engine.frame() + rollback_default_delay));
    session.send_inputs(engine.outgoing());
    net_state_hash h;
    if (engine.take_hash(h)) session.send_state_hash(h);
    out.work_ms.push_back(std::chrono::duration<double, std::milli>(steady::now() - start).count());
    next += std::chrono::microseconds(static_cast<long>(1e6 / 60 * engine.frame_time_scale()));
    std::this_thread::sleep_until(next);
  }
  // A little longer, so the last hashes cross.
  for (int i = 0; i < 30; ++i) {
    session.service();
    net_message m;
    while (session.receive(m)) {
      if (m.kind == net_kind::state_hash) engine.receive_hash(m.state_hash);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  out.stats = engine.stats();
  out.hashes = engine.hashes_compared();
  out.desync = engine.desync_frame();
}

double percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: online_bench DELAY_MS JITTER_MS LOSS SECONDS [SEED]\n");
    return 2;
  }
  relay_conditions c;
  c.delay_ms = std::atof(argv[1]);
  c.jitter_ms = std::atof(argv[2]);
  c.loss = c.duplicate = c.reorder = std::atof(argv[3]);
  c.seed = argc > 5 ? static_cast<unsigned>(std::atoi(argv[5])) : 1;
  const double seconds = std::atof(argv[4]);
  const int frames = static_cast<int>(seconds * 60);

  net_session_setup setup;
  setup.build = "bench";
  net_session host(setup), guest(setup);
  const uint16_t host_port = static_cast<uint16_t>(40000 + getpid() % 20000);
  if (!host.host(host_port)) {
    std::fprintf(stderr, "%s\n", host.error().c_str());
    return 1;
  }
  udp_relay relay(c);
  std::string error;
  if (!relay.open(0, "127.0.0.1", host_port, error)) {
    std::fprintf(stderr, "relay: %s\n", error.c_str());
    return 1;
  }
  std::atomic<bool> stop{false}, go{false};
  std::thread relay_thread([&] {
    while (!stop) relay.poll(1);
  });
  guest.join("127.0.0.1", relay.port());
  auto deadline = steady::now() + std::chrono::seconds(10);
  while ((host.state() != net_session_state::ready || guest.state() != net_session_state::ready) &&
         steady::now() < deadline) {
    host.service();
    guest.service();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (host.state() != net_session_state::ready || guest.state() != net_session_state::ready) {
    std::fprintf(stderr, "no session: %s %s\n", host.error().c_str(), guest.error().c_str());
    stop = true;
    relay_thread.join();
    return 1;
  }
  side_result results[2];
  std::thread a([&] { play_side(host, 1, frames, go, results[1]); });
  std::thread b([&] { play_side(guest, 0, frames, go, results[0]); });
  go = true;
  a.join();
  b.join();
  stop = true;
  relay_thread.join();

  std::printf("condition: %.0f ms each way, jitter %.0f ms, loss/dup/reorder %.0f%%\n", c.delay_ms, c.jitter_ms,
              c.loss * 100);
  int status = 0;
  for (int s = 1; s >= 0; --s) {
    const side_result& r = results[s];
    std::printf("  %s: frame work median %.3f ms, p99 %.3f ms; %.1f rollbacks/s, deepest %d, %ld frames waited; "
                "%ld hashes agreed%s\n",
                s == 1 ? "host " : "guest", percentile(r.work_ms, 0.5), percentile(r.work_ms, 0.99),
                static_cast<double>(r.stats.rollbacks) / seconds, r.stats.deepest, r.stats.frames_waited, r.hashes,
                r.desync >= 0 ? ", DESYNC" : "");
    std::printf("  %s\n", rollback_stats_line(r.stats).c_str());
    if (r.failed || r.desync >= 0) status = 1;
  }
  return status;
}

// Rollback for a two-player game over a network. Each side steps its own
// player's actions at once (after a small input delay) and predicts the
// other's by repeating the last it received. When the real actions arrive and
// differ from the prediction, the engine restores the state saved at that
// frame and steps again to the present, within the same displayed frame.
//
// The engine knows nothing of fighters or sockets: the game gives it
// save/load/step/hash through `rollback_game`, and the caller carries
// `net_inputs` and `net_state_hash` messages between the two engines.
// One displayed frame on each side:
//   for each message received: receive(...) / receive_hash(...)
//   advance(local actions)       steps one frame, or waits when too far ahead
//   send outgoing() unreliably; send take_hash() reliably when it gives one
//   pace the next frame by frame_time_scale()
#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "fighter/player_actions.h"
#include "net/packet.h"

class rollback_events;

constexpr int rollback_window = 8;      // frames a side may run past the last actions it has from the other
constexpr int rollback_max_delay = 8;
constexpr int rollback_default_delay = 2;
constexpr int rollback_hash_interval = 60;  // confirmed frames between two state hashes

class rollback_game {
 public:
  virtual ~rollback_game() = default;
  // Slots 0..rollback_slots-1: keep the whole state that step() reads or writes.
  virtual void save_state(int slot) = 0;
  virtual void load_state(int slot) = 0;
  // One frame; inputs[e] is entry e's actions.
  virtual void step(const player_actions inputs[2]) = 0;
  virtual uint64_t state_hash() = 0;
};

constexpr int rollback_slots = rollback_window + 2;

struct rollback_stats {
  long frames = 0;         // frames stepped forward (not counting re-simulation)
  long rollbacks = 0;      // corrections
  int deepest = 0;         // most frames re-simulated by one correction
  long frames_waited = 0;  // displayed frames spent waiting for the other side
  int ping_ms = 0;
};

// "NOTICE: online fight over: F frames, R rollbacks (deepest D), W frames waited, ping P ms"
std::string rollback_stats_line(const rollback_stats& s);

class rollback_engine {
 public:
  // `local_entry` 0 or 1 is the entry this side plays; `input_delay` is clamped to 0..rollback_max_delay.
  rollback_engine(rollback_game& game, int local_entry, int input_delay);

  void set_events(rollback_events* events) { events_ = events; }
  void set_ping(int ms) { stats_.ping_ms = ms; }
  void set_frame_rate(int fps) { fps_ = fps > 0 ? fps : 60; }  // turns the ping into frames (default 60)

  // The other side's actions (any order, duplicates and stale packets are fine).
  void receive(const net_inputs& m);
  void receive_hash(const net_state_hash& m);

  // One displayed frame: applies any pending correction, then steps the next
  // frame with `local` as this side's actions `input_delay` frames later.
  // Returns false (and counts a waited frame) when it is too far ahead. Before
  // frame 0 it also returns false, uncounted: both sides start at once, when
  // the later of the two to be ready has had half a ping for its first
  // message to reach the other, so neither begins ahead (loading a fight
  // takes each side its own time).
  bool advance(player_actions local);

  net_inputs outgoing() const;
  // The hash of the confirmed state to send, once per rollback_hash_interval frames.
  bool take_hash(net_state_hash& out);

  // 1.0, or up to 1.1 when this side runs ahead of the other: stretch the
  // next frame's duration by it so the other catches up without a pause.
  double frame_time_scale() const;

  int frame() const { return frame_; }  // the next frame to step
  // The last frame whose actions from both sides are known (and stepped): -1 before any.
  int confirmed_frame() const;
  // Both entries' actions at a confirmed frame (for a replay of the match):
  // the last few seconds are kept, so take each frame as it becomes confirmed.
  bool confirmed_inputs(int frame, player_actions out[2]) const;
  // The first frame whose hashes differ, -1 while they agree.
  int desync_frame() const { return desync_frame_; }
  long hashes_compared() const { return hashes_compared_; }
  // The hash this side computed for the confirmed state at the start of `frame`.
  bool local_hash(int frame, uint64_t& out) const;
  const rollback_stats& stats() const { return stats_; }

 private:
  static constexpr int ring = 256;  // frames of actions kept
  struct slot {
    int frame = -1;
    player_actions value = 0;
  };
  player_actions local_at(int f) const;
  player_actions remote_at(int f) const;  // confirmed or predicted
  void step_frame(int f);
  void correct();
  void record_hash();
  void compare_hashes();

  rollback_game& game_;
  rollback_events* events_ = nullptr;
  int local_, delay_;
  int fps_ = 60;
  int frame_ = 0;
  slot local_inputs_[ring];
  slot remote_inputs_[ring];
  player_actions predicted_[ring] = {};  // the remote actions each stepped frame used
  int saved_frame_[rollback_slots];
  int remote_confirmed_ = -1;  // last contiguous frame of the other side's actions
  int remote_ack_ = -1;        // last frame of ours the other side holds
  int correct_from_ = -1;      // earliest frame stepped with a wrong prediction
  bool heard_ = false;         // a message has come from the other side
  bool started_ = false;       // frame 0 has been stepped
  int idle_frames_ = 0;        // displayed frames before the start
  int remote_frame_ = 0;       // the other side's frame when it last told us
  int remote_advantage_ = 0;
  int local_advantage_ = 0;
  double sync_excess_ = 0;     // smoothed half-difference of the two advantages
  std::map<int, uint64_t> local_hashes_, remote_hashes_;
  int next_hash_frame_ = rollback_hash_interval;
  uint64_t tentative_hash_ = 0;  // of the state at the start of next_hash_frame_, as last stepped
  int hash_to_send_ = -1;
  int desync_frame_ = -1;
  long hashes_compared_ = 0;
  rollback_stats stats_;
};

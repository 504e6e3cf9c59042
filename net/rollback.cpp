#include "net/rollback.h"

#include <algorithm>
#include <cstdio>

#include "net/rollback_events.h"

namespace {
constexpr int most_ahead_accepted = 64;  // frames past ours a message may carry
}  // namespace

std::string rollback_stats_line(const rollback_stats& s) {
  char line[160];
  std::snprintf(line, sizeof line, "NOTICE: online fight over: %ld frames, %ld rollbacks (deepest %d), %ld frames waited, ping %d ms",
                s.frames, s.rollbacks, s.deepest, s.frames_waited, s.ping_ms);
  return line;
}

rollback_engine::rollback_engine(rollback_game& game, int local_entry, int input_delay)
    : game_(game), local_(local_entry == 1 ? 1 : 0), delay_(std::clamp(input_delay, 0, rollback_max_delay)) {
  std::fill(std::begin(saved_frame_), std::end(saved_frame_), -1);
  // The first frames, before the delay has passed, hold nothing.
  for (int f = 0; f < delay_; ++f) local_inputs_[f] = slot{f, 0};
}

player_actions rollback_engine::local_at(int f) const {
  const slot& s = local_inputs_[f % ring];
  return s.frame == f ? s.value : 0;
}

player_actions rollback_engine::remote_at(int f) const {
  const slot& s = remote_inputs_[f % ring];
  if (s.frame == f) return s.value;
  // Predicted: the other side keeps doing what it last did.
  return remote_confirmed_ >= 0 ? remote_inputs_[remote_confirmed_ % ring].value : 0;
}

int rollback_engine::confirmed_frame() const { return std::min(remote_confirmed_, frame_ - 1); }

bool rollback_engine::confirmed_inputs(int f, player_actions out[2]) const {
  if (f < 0 || f > confirmed_frame() || remote_inputs_[f % ring].frame != f || local_inputs_[f % ring].frame != f) {
    return false;
  }
  out[local_] = local_inputs_[f % ring].value;
  out[1 - local_] = remote_inputs_[f % ring].value;
  return true;
}

void rollback_engine::receive(const net_inputs& m) {
  heard_ = true;
  if (static_cast<int>(m.frame) >= remote_frame_) {
    remote_frame_ = static_cast<int>(m.frame);
    remote_advantage_ = m.advantage;
  }
  int last_local = frame_ - 1 + delay_;
  remote_ack_ = std::max(remote_ack_, std::min(static_cast<int>(m.ack), last_local));
  for (size_t i = 0; i < m.actions.size(); ++i) {
    long f = static_cast<long>(m.first_frame) + static_cast<long>(i);
    if (f <= remote_confirmed_) continue;                           // already held
    if (f != remote_confirmed_ + 1 || f > frame_ + most_ahead_accepted) break;  // a gap: wait for the resend
    int frame = static_cast<int>(f);
    remote_inputs_[frame % ring] = slot{frame, m.actions[i]};
    remote_confirmed_ = frame;
    if (frame < frame_ && m.actions[i] != predicted_[frame % ring]) {
      correct_from_ = correct_from_ < 0 ? frame : std::min(correct_from_, frame);
    }
  }
}

void rollback_engine::receive_hash(const net_state_hash& m) {
  int f = static_cast<int>(m.frame);
  if (f <= 0 || f % rollback_hash_interval != 0 || f > frame_ + most_ahead_accepted + rollback_hash_interval) return;
  if (remote_hashes_.size() >= 16 && !remote_hashes_.count(f)) return;
  remote_hashes_[f] = m.hash;
  compare_hashes();
}

void rollback_engine::compare_hashes() {
  for (auto it = remote_hashes_.begin(); it != remote_hashes_.end();) {
    auto mine = local_hashes_.find(it->first);
    if (mine == local_hashes_.end()) {
      ++it;
      continue;
    }
    ++hashes_compared_;
    if (mine->second != it->second && (desync_frame_ < 0 || it->first < desync_frame_)) desync_frame_ = it->first;
    it = remote_hashes_.erase(it);
  }
}

void rollback_engine::step_frame(int f) {
  int s = f % rollback_slots;
  game_.save_state(s);
  saved_frame_[s] = f;
  player_actions inputs[2];
  inputs[local_] = local_at(f);
  inputs[1 - local_] = remote_at(f);
  predicted_[f % ring] = inputs[1 - local_];
  if (events_) events_->begin_frame(f);
  game_.step(inputs);
  if (events_) events_->end_frame();
  // The state at the start of a hashed frame; final once both sides' actions before it are known.
  if (f + 1 == next_hash_frame_) tentative_hash_ = game_.state_hash();
}

void rollback_engine::correct() {
  if (correct_from_ < 0) return;
  int from = correct_from_;
  correct_from_ = -1;
  if (saved_frame_[from % rollback_slots] != from) return;  // can't happen while the window holds
  game_.load_state(from % rollback_slots);
  for (int f = from; f < frame_; ++f) step_frame(f);
  ++stats_.rollbacks;
  stats_.deepest = std::max(stats_.deepest, frame_ - from);
}

void rollback_engine::record_hash() {
  int h = next_hash_frame_;
  if (frame_ < h || remote_confirmed_ < h - 1 || correct_from_ >= 0) return;
  local_hashes_[h] = tentative_hash_;
  hash_to_send_ = h;
  next_hash_frame_ += rollback_hash_interval;
  compare_hashes();
}

bool rollback_engine::advance(player_actions local) {
  correct();
  int ping_frames = stats_.ping_ms * fps_ / 1000;
  if (!started_) {
    // Heard at once: the other side was ready first and waits for our first
    // message, half a ping away. Heard later: ours has reached it by now.
    if (!heard_ || idle_frames_ < ping_frames / 2) {
      ++idle_frames_;
      return false;
    }
    started_ = true;
  }
  // Time sync: how far ahead this side is, against what the other side says of itself.
  int local_advantage = frame_ - (remote_frame_ + ping_frames / 2);
  sync_excess_ = 0.9 * sync_excess_ + 0.1 * ((local_advantage - remote_advantage_) / 2.0);
  local_advantage_ = local_advantage;

  bool stepped = false;
  if (frame_ > remote_confirmed_ + rollback_window) {
    ++stats_.frames_waited;
  } else {
    int f = frame_ + delay_;
    local_inputs_[f % ring] = slot{f, static_cast<player_actions>(local & all_player_actions)};
    step_frame(frame_);
    ++frame_;
    ++stats_.frames;
    stepped = true;
  }
  record_hash();
  if (events_) events_->confirm_through(confirmed_frame());
  return stepped;
}

net_inputs rollback_engine::outgoing() const {
  net_inputs m;
  int last = frame_ - 1 + delay_;
  int first = std::max(remote_ack_ + 1, last - static_cast<int>(net_max_inputs) + 1);
  first = std::max(first, 0);
  m.first_frame = static_cast<uint32_t>(first);
  for (int f = first; f <= last; ++f) m.actions.push_back(local_at(f));
  m.ack = remote_confirmed_;
  m.frame = static_cast<uint32_t>(frame_);
  m.advantage = static_cast<int8_t>(std::clamp(local_advantage_, -100, 100));
  return m;
}

bool rollback_engine::take_hash(net_state_hash& out) {
  if (hash_to_send_ < 0) return false;
  out.frame = static_cast<uint32_t>(hash_to_send_);
  out.hash = local_hashes_[hash_to_send_];
  hash_to_send_ = -1;
  return true;
}

bool rollback_engine::local_hash(int frame, uint64_t& out) const {
  auto it = local_hashes_.find(frame);
  if (it == local_hashes_.end()) return false;
  out = it->second;
  return true;
}

double rollback_engine::frame_time_scale() const {
  if (sync_excess_ <= 0.5) return 1.0;
  return 1.0 + std::min(0.1, 0.05 * sync_excess_);
}

// The time each displayed frame of an online fight takes to make (network,
// rollback and drawing, not the wait for the next frame's moment), kept when
// --benchmark asks for figures and printed as one line at the end.
#pragma once
#include <chrono>
#include <vector>

class online_frame_times {
 public:
  explicit online_frame_times(long most) : most_(most) {}  // most < 0: none kept
  void frame_begins();
  void waiting();   // the frame's work is done until the wait is over
  void waited();
  void frame_ends();
  // "NOTICE: online frame times: N frames, median M ms, p99 P ms", or nothing when none were kept.
  void print() const;

 private:
  using clock = std::chrono::steady_clock;
  long most_;
  clock::time_point begun_, wait_begun_;
  double waited_ms_ = 0;
  std::vector<double> ms_;
};

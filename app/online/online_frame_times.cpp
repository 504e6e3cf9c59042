#include "app/online/online_frame_times.h"

#include <algorithm>

#include "core/log.h"

namespace {
double ms_since(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}
}  // namespace

void online_frame_times::frame_begins() {
  begun_ = clock::now();
  waited_ms_ = 0;
}

void online_frame_times::waiting() { wait_begun_ = clock::now(); }

void online_frame_times::waited() { waited_ms_ += ms_since(wait_begun_); }

void online_frame_times::frame_ends() {
  if (static_cast<long>(ms_.size()) < most_) ms_.push_back(ms_since(begun_) - waited_ms_);
}

void online_frame_times::print() const {
  if (ms_.empty()) return;
  std::vector<double> sorted = ms_;
  std::sort(sorted.begin(), sorted.end());
  const double median = sorted[sorted.size() / 2];
  const double p99 = sorted[std::min(sorted.size() - 1, sorted.size() * 99 / 100)];
  log_out("NOTICE: online frame times: %zu frames, median %.2f ms, p99 %.2f ms\n", sorted.size(), median, p99);
}

// A stretched frame moves the limiter's schedule; a plain extra sleep would be
// taken back by the next delay, which aims at fixed moments.
#include <gtest/gtest.h>

#include <chrono>

#include "app/frame_limiter.h"

namespace {

double ms_for_frames(frame_limiter& limiter, int frames, double stretch_ms) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < frames; ++i) {
    limiter.stretch(stretch_ms);
    limiter.delay();
  }
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

TEST(FrameLimiter, StretchedFramesLastLonger) {
  frame_limiter limiter;
  limiter.set_rate(100);
  limiter.delay();  // the schedule starts here
  // 12 frames of 10 ms, each 2.5 ms longer: 150 ms, never less however loaded the machine is
  // (but for the millisecond ticks the schedule is kept in); unstretched they take 120.
  EXPECT_GE(ms_for_frames(limiter, 12, 2.5), 140.0);
}

}  // namespace

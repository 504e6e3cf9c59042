// A run kept in memory from its first frame, so F9 can save it as a replay at
// any moment: the replay's event lines as text, and every clock reading
// packed by frame (about two bytes a reading).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/replay/replay_format.h"

class replay_run_log {
 public:
  // Whole "FRAME ..." lines (key, joystick and check lines), frames not going backwards.
  void add_lines(const std::string& lines);
  // A clock reading taken while `frame` presents had been made.
  void add_reading(long frame, uint32_t ms);

  // The replay of the run up to `end_frame`: the header, the event lines and
  // one clock line a frame in frame order, and the end line.
  std::string text(const replay_header& header, long end_frame) const;

  size_t bytes() const { return lines_.capacity() + clock_.capacity(); }

 private:
  std::string lines_;
  // Per reading: frames since the previous reading, then ms since it (mod
  // 2^32), each as a base-128 number, low 7 bits first.
  std::vector<uint8_t> clock_;
  long last_frame_ = 0;
  uint32_t last_ms_ = 0;
};

#include "app/replay/replay_run_log.h"

#include <cstdlib>

namespace {

void put_number(std::vector<uint8_t>& out, uint64_t v) {
  while (v >= 0x80) {
    out.push_back(static_cast<uint8_t>(v | 0x80));
    v >>= 7;
  }
  out.push_back(static_cast<uint8_t>(v));
}

uint64_t take_number(const std::vector<uint8_t>& in, size_t& at) {
  uint64_t v = 0;
  for (int shift = 0; at < in.size(); shift += 7) {
    const uint8_t b = in[at++];
    v |= static_cast<uint64_t>(b & 0x7f) << shift;
    if (!(b & 0x80)) break;
  }
  return v;
}

}  // namespace

void replay_run_log::add_lines(const std::string& lines) { lines_ += lines; }

void replay_run_log::add_reading(long frame, uint32_t ms) {
  put_number(clock_, static_cast<uint64_t>(frame - last_frame_));
  put_number(clock_, static_cast<uint32_t>(ms - last_ms_));
  last_frame_ = frame;
  last_ms_ = ms;
}

std::string replay_run_log::text(const replay_header& header, long end_frame) const {
  std::string out = replay_header_text(header);
  out.reserve(out.size() + lines_.size() + clock_.size() * 3);
  size_t clock_at = 0;
  long frame = 0;
  uint32_t ms = 0;
  bool have_reading = false;
  // The next reading, decoded ahead so a frame's line can be closed when the frame changes.
  auto next_reading = [&]() {
    have_reading = clock_at < clock_.size();
    if (!have_reading) return;
    frame += static_cast<long>(take_number(clock_, clock_at));
    ms += static_cast<uint32_t>(take_number(clock_, clock_at));
  };
  next_reading();
  // Clock lines of the frames before `before`: a frame's readings come after its event lines.
  auto clock_lines_before = [&](long before) {
    while (have_reading && frame < before) {
      const long this_frame = frame;
      out += std::to_string(this_frame) + " clock " + std::to_string(ms);
      uint32_t previous = ms;
      next_reading();
      while (have_reading && frame == this_frame) {
        out += " " + std::to_string(static_cast<uint32_t>(ms - previous));
        previous = ms;
        next_reading();
      }
      out += "\n";
    }
  };
  size_t line_start = 0;
  while (line_start < lines_.size()) {
    size_t line_end = lines_.find('\n', line_start);
    if (line_end == std::string::npos) line_end = lines_.size();
    const long line_frame = std::strtol(lines_.c_str() + line_start, nullptr, 10);
    if (line_frame > end_frame) break;
    clock_lines_before(line_frame);
    out.append(lines_, line_start, line_end - line_start);
    out += "\n";
    line_start = line_end + 1;
  }
  clock_lines_before(end_frame);
  out += std::to_string(end_frame) + " end\n";
  return out;
}

// Paces every screen through SDL_gfx's frame-rate manager. Scripted and
// benchmark runs switch pacing off so they run as fast as the machine allows.
#pragma once

#include <SDL_framerate.h>

class frame_limiter {
 public:
  frame_limiter();
  // SDL_gfx accepts 1..200; a higher rate is held at 200.
  void set_rate(int fps);
  int rate() const { return rate_; }
  void delay();
  // Moves the next frame's moment `ms` later; the frames after it keep the
  // rate from there. (A plain extra sleep would be taken back by the next
  // delay(), which aims at a fixed schedule.)
  void stretch(double ms);
  void set_enabled(bool on) { enabled_ = on; }
  bool enabled() const { return enabled_; }

 private:
  FPSmanager* manager_;  // allocated once, never freed
  int rate_ = 30;
  double stretch_left_ = 0;  // the part of a millisecond not yet moved
  bool enabled_ = true;
};

// The one limiter of the run.
frame_limiter& limiter();

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
  void set_enabled(bool on) { enabled_ = on; }
  bool enabled() const { return enabled_; }

 private:
  FPSmanager* manager_;  // allocated once, never freed
  int rate_ = 30;
  bool enabled_ = true;
};

// The one limiter of the run.
frame_limiter& limiter();

#include "app/frame_limiter.h"

#include <SDL_framerate.h>

frame_limiter::frame_limiter() : manager_(new FPSmanager) { SDL_initFramerate(manager_); }

void frame_limiter::set_rate(int fps) {
  if (fps > FPS_UPPER_LIMIT) fps = FPS_UPPER_LIMIT;
  if (fps < FPS_LOWER_LIMIT) fps = FPS_LOWER_LIMIT;
  rate_ = fps;
  SDL_setFramerate(manager_, static_cast<Uint32>(fps));
}

void frame_limiter::delay() {
  if (enabled_) SDL_framerateDelay(manager_);
}

void frame_limiter::stretch(double ms) {
  if (!enabled_ || ms <= 0) return;
  stretch_left_ += ms;
  const Uint32 whole = static_cast<Uint32>(stretch_left_);
  stretch_left_ -= whole;
  if (manager_->baseticks == 0) SDL_initFramerate(manager_);  // as SDL_framerateDelay would first
  manager_->baseticks += whole;
}

frame_limiter& limiter() {
  static frame_limiter* the_limiter = new frame_limiter;
  return *the_limiter;
}

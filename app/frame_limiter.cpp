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

frame_limiter& limiter() {
  static frame_limiter* the_limiter = new frame_limiter;
  return *the_limiter;
}

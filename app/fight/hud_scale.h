// Sizes of what the fight draws over the stage (gauges, texts, menus) are
// given for a 480-line screen and grow with taller screens, so a 1080-line
// screen reads like a 480-line one. Smaller screens keep the 480-line sizes.
#pragma once
#include "app/video.h"

inline int hud_scaled(int pixels_at_480, int screen_height) {
  if (screen_height <= 480) return pixels_at_480;
  return static_cast<int>(static_cast<long long>(pixels_at_480) * screen_height / 480);
}

// `pixels_at_480` on the current screen (unchanged before a mode is set).
inline int hud_px(int pixels_at_480) {
  return hud_scaled(pixels_at_480, g_video.screen ? g_video.screen->h : 480);
}

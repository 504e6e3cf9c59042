// The keys of frame n of an animation file ("image3", "rate3", ...).
#pragma once
#include <cstdio>

struct frame_keys {
  char image[32], rate[32], shake[32], flash[32], flashrate[32], fire[32], sound[32];

  explicit frame_keys(int n) {
    std::snprintf(image, sizeof image, "image%d", n);
    std::snprintf(rate, sizeof rate, "rate%d", n);
    std::snprintf(shake, sizeof shake, "shake%d", n);
    std::snprintf(flash, sizeof flash, "flash%d", n);
    std::snprintf(flashrate, sizeof flashrate, "flashrate%d", n);
    std::snprintf(fire, sizeof fire, "fire%d", n);
    std::snprintf(sound, sizeof sound, "sound%d", n);
  }
};

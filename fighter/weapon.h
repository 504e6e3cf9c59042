// Weapons: up to three per lifeform, each with up to eleven stream emitters.
// The game's content attaches none; attach_weapon (projectile.h) lets tools and
// tests give a lifeform one.
#pragma once
#include <cstdint>
#include <vector>

#include "core/nmanager.h"

class img_mgr;
class sound_effect;

constexpr int max_weapons = 3;
constexpr int max_streams = 11;

// One emitter. Fields marked "carried" are copied but never read when firing.
struct stream {
  cache_ref<img_mgr> image;   // the projectile's picture, the image cache's own
  int32_t jitter = 0;         // non-zero: start x moves by rand() % 7 - 3
  double vx = 0.0, vy = 0.0;  // start velocity, added to the shooter's aim
  double ax = 0.0, ay = 0.0;  // the projectile's drive
  int32_t x_offset = 0, y_offset = 0;  // added to the computed start position, pixels
  int32_t reload = 0;         // frames before the stream fires again
  int32_t damage = 0;         // the projectile's damage
  int32_t reload_counter = 0; // frames still to wait; fires only below 1
  int32_t sound_flag = 0;     // non-zero: a sound goes with the shot
  int32_t disabled = 0;       // non-zero: never fires
  int32_t carry_sound = 0;    // non-zero: the sound is handed to the projectile, not played
  cache_ref<sound_effect> sound;  // the sound cache's own
};

struct weapon {
  int32_t spare_a[2] = {0, 0};  // carried
  std::vector<stream> streams;  // fired in list order
  int32_t channel = 0;          // sounds play on mixer channel channel + 1
  int32_t spare_b[2] = {0, 0};  // carried
  int32_t team = 0;             // set from the carrier before every shot
  int32_t disabled = 0;         // non-zero: the weapon does not fire
};

// Drawing the fight without moving it: while the match pauses or shows its
// texts, the stage and every lifeform are drawn as they stand. Nothing
// advances: animation frames, posture counters, weapon reloads, the stage's
// shake and flash all keep their values, no projectile is fired and no frame
// sound is heard.
#pragma once

class level;
class lifeform;

// The stage under the current camera, its shake and flash left as they were.
void draw_level_still(level& stage);
// One lifeform as it stands.
void draw_lifeform_still(lifeform& l);

// Frame sounds started between these two calls are stopped unheard.
struct still_sound_guard {
  still_sound_guard();
  ~still_sound_guard();
  still_sound_guard(const still_sound_guard&) = delete;
  still_sound_guard& operator=(const still_sound_guard&) = delete;

 private:
  bool open_ = false;
  int channels_ = 0;
  int volume_ = 0;
  unsigned long long playing_ = 0;  // channels playing before, one bit each (the first 64)
};

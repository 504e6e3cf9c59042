// What the fight rules need from the program around them, which they may not
// include: the screen's size (the floor is its bottom edge), the developer's
// trace switch, and the point where the program may note the boxes a hit
// test compared (to outline them when it draws). The program installs its own
// host once at start; until then the fight sees no screen, traces nothing and
// nothing is outlined.
#pragma once

class lifeform;

class fight_host {
 public:
  virtual ~fight_host() = default;
  // The screen's size in pixels; false, and w and h left alone, without one.
  virtual bool screen_size(int& w, int& h) const;
  // Developer tracing: whether it is on, and the frame number its lines carry.
  virtual bool fight_tracing() const;
  virtual long presented_frames() const;
  // overlap_test has just compared the body boxes of p and q.
  virtual void boxes_compared(const lifeform& p, const lifeform& q);
};

// `host` stays in use until replaced; nullptr goes back to the silent default.
void set_fight_host(fight_host* host);
fight_host& current_fight_host();

// The screen's width and height, 0 without a screen.
int fight_screen_width();
int fight_screen_height();

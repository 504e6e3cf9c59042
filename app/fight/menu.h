// A small vertical menu over the fight: UP/DOWN (or joystick 0's vertical
// axis) move the cursor, RETURN or SPACE (or joystick 0's button 0) choose,
// Escape backs out. Keys act when pressed, not while held: a key already held
// when the menu opens does nothing until it is pressed again. A menu that
// opens in the middle of play (blows share keys with it) takes no input for
// a short lock once it shows, so a punch mashed as it appears chooses
// nothing; a key pressed during the lock counts only once pressed again. Input comes
// through the keyboard and joystick seams; drawing uses the fight's font.
#pragma once
#include <string>
#include <vector>

// Left and right change a value in the options; the other menus ignore them.
enum menu_key { menu_up, menu_down, menu_confirm, menu_escape, menu_left, menu_right, menu_key_count };

struct menu_keys {
  bool held[menu_key_count] = {};
};

// The menu keys held now: the keyboard seam, and joystick 0 when it is open;
// with `both_sticks` (the menus before a fight, where either player may
// steer) joystick 1 as well.
menu_keys read_menu_keys(bool both_sticks = false);

constexpr int menu_nothing = -1;  // no choice this frame
constexpr int menu_escaped = -2;  // Escape was pressed

class menu {
 public:
  std::vector<std::string> items;
  int selected = 0;

  // Shows `choices` with the cursor on the first; keys held now count as
  // seen. The first `lock_frames` calls of apply take no input.
  void open(const std::vector<std::string>& choices, const menu_keys& now, int lock_frames = 0);
  // One frame of input: the index chosen, menu_escaped, or menu_nothing.
  int apply(const menu_keys& now);
  bool locked() const { return lock_left_ > 0; }
  // -1 when the last apply saw left pressed, 1 for right, 0 otherwise.
  int sideways() const { return sideways_; }
  // Centred on the screen, its top at `y`, over a dark box.
  void draw(int y) const;

 private:
  bool held_[menu_key_count] = {};
  int lock_left_ = 0;  // frames of input still ignored
  int sideways_ = 0;
};

// The lock a menu opened during play takes, in frames at `fps`: half a second.
int menu_lock_frames(int fps);

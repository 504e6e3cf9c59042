// A small vertical menu over the fight: UP/DOWN (or joystick 0's vertical
// axis) move the cursor, RETURN or SPACE (or joystick 0's button 0) choose,
// Escape backs out. Keys act when pressed, not while held: a key already held
// when the menu opens does nothing until it is pressed again. Input comes
// through the keyboard and joystick seams; drawing uses the fight's font.
#pragma once
#include <string>
#include <vector>

enum menu_key { menu_up, menu_down, menu_confirm, menu_escape, menu_key_count };

struct menu_keys {
  bool held[menu_key_count] = {};
};

// The menu keys held now: the keyboard seam, and joystick 0 when it is open.
menu_keys read_menu_keys();

constexpr int menu_nothing = -1;  // no choice this frame
constexpr int menu_escaped = -2;  // Escape was pressed

class menu {
 public:
  std::vector<std::string> items;
  int selected = 0;

  // Shows `choices` with the cursor on the first; keys held now count as seen.
  void open(const std::vector<std::string>& choices, const menu_keys& now);
  // One frame of input: the index chosen, menu_escaped, or menu_nothing.
  int apply(const menu_keys& now);
  // Centred on the screen, its top at `y`, over a dark box.
  void draw(int y) const;

 private:
  bool held_[menu_key_count] = {};
};

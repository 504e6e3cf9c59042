// The look of the menus before a fight: a heading and a column of rows on a
// dark panel over the backdrop, the chosen row on a bright bar with markers
// either side, so it is plain at a glance which one Return will take.
#pragma once
#include <string>
#include <vector>

struct menu_panel_row {
  std::string label;
  std::string value;  // drawn at the right of the row; empty: the label is centred
  bool greyed = false;  // drawn dimmed: shown, but not something to choose
};

// With GAME_FIGHT_TRACE set it narrates on standard error whenever what it
// shows changes: "fight trace: frame [N] menu [HEADING] at [LABEL] value [VALUE]".
void draw_menu_panel(const char* heading, const std::vector<menu_panel_row>& rows, int selected);

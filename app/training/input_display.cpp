#include "app/training/input_display.h"

#include <algorithm>

#include "app/fight/fight_text.h"
#include "app/fight/hud_box.h"
#include "app/fight/hud_scale.h"

std::string input_label(player_actions held) {
  static const struct {
    player_actions bit;
    const char* label;
  } labels[] = {{action_up, "U"},     {action_down, "D"}, {action_left, "L"},     {action_right, "R"},
                {action_punch, "P"},  {action_kick, "K"}, {action_extra1, "X1"}, {action_extra2, "X2"}};
  std::string text;
  for (const auto& l : labels) {
    if (!(held & l.bit)) continue;
    if (!text.empty()) text += '+';
    text += l.label;
  }
  return text.empty() ? "-" : text;
}

void input_display::note(player_actions held) {
  // Only the actions the column shows split an input.
  held = static_cast<player_actions>(held & (action_up | action_down | action_left | action_right | action_punch |
                                             action_kick | action_extra1 | action_extra2));
  if (!inputs.empty() && inputs.front().held == held) {
    ++inputs.front().frames;
    return;
  }
  inputs.push_front({held, 1, ""});
  if (inputs.size() > shown) inputs.pop_back();
}

void input_display::note_combo(const char* name) {
  if (inputs.empty()) inputs.push_front({0, 0, ""});
  inputs.front().combo = name;
}

void input_display::draw() const {
  if (inputs.empty()) return;
  int w = 0, line = 0;
  fight_label_size("X1+X2 999", w, line);
  const int x = hud_px(4);
  int y = hud_px(60);
  int widest = w;
  for (const shown_input& i : inputs) {
    const std::string text = input_label(i.held) + " " + std::to_string(i.frames) + (i.combo.empty() ? "" : "  " + i.combo);
    int tw = 0, th = 0;
    fight_label_size(text.c_str(), tw, th);
    widest = std::max(widest, tw);
  }
  fill_hud_box(0, y - 2, widest + 2 * x, line * static_cast<int>(inputs.size()) + 4, 0, 0, 0, 128);
  for (const shown_input& i : inputs) {
    const std::string text = input_label(i.held) + " " + std::to_string(i.frames) + (i.combo.empty() ? "" : "  " + i.combo);
    draw_fight_label(x, y, text.c_str());
    y += line;
  }
}

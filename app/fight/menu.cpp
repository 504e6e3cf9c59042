#include "app/fight/menu.h"

#include <algorithm>

#include "app/fight/fight_text.h"
#include "app/fight/hud_box.h"
#include "app/fight/hud_scale.h"
#include "app/fight/match_text.h"
#include "app/video.h"
#include "core/seams.h"

namespace {
constexpr int axis_threshold = 17000;  // as on the select screen
}  // namespace

menu_keys read_menu_keys(bool both_sticks) {
  menu_keys k;
  const Uint8* keys = key_state();
  if (keys) {
    k.held[menu_up] = keys[SDLK_UP] != 0;
    k.held[menu_down] = keys[SDLK_DOWN] != 0;
    k.held[menu_confirm] = keys[SDLK_RETURN] != 0 || keys[SDLK_SPACE] != 0;
    k.held[menu_escape] = keys[SDLK_ESCAPE] != 0;
    k.held[menu_left] = keys[SDLK_LEFT] != 0;
    k.held[menu_right] = keys[SDLK_RIGHT] != 0;
  }
  if (g_video.joystick_ok == 1) {
    for (int stick = 0; stick < (both_sticks ? 2 : 1); ++stick) {
      const int vertical = joy_axis_of(stick, 1), horizontal = joy_axis_of(stick, 0);
      k.held[menu_up] = k.held[menu_up] || vertical < -axis_threshold;
      k.held[menu_down] = k.held[menu_down] || vertical > axis_threshold;
      k.held[menu_left] = k.held[menu_left] || horizontal < -axis_threshold;
      k.held[menu_right] = k.held[menu_right] || horizontal > axis_threshold;
      k.held[menu_confirm] = k.held[menu_confirm] || joy_button_of(stick, 0) != 0;
      // Button 1 backs out, as Escape does.
      if (both_sticks) k.held[menu_escape] = k.held[menu_escape] || joy_button_of(stick, 1) != 0;
    }
  }
  return k;
}

int menu_lock_frames(int fps) { return fps > 1 ? fps / 2 : 1; }

void menu::open(const std::vector<std::string>& choices, const menu_keys& now, int lock_frames) {
  items = choices;
  selected = 0;
  lock_left_ = lock_frames > 0 ? lock_frames : 0;
  std::copy(now.held, now.held + menu_key_count, held_);
}

int menu::apply(const menu_keys& now) {
  sideways_ = 0;
  if (lock_left_ > 0) {
    --lock_left_;
    std::copy(now.held, now.held + menu_key_count, held_);
    return menu_nothing;
  }
  bool pressed[menu_key_count];
  for (int k = 0; k < menu_key_count; ++k) {
    pressed[k] = now.held[k] && !held_[k];
    held_[k] = now.held[k];
  }
  if (pressed[menu_escape]) return menu_escaped;
  sideways_ = (pressed[menu_right] ? 1 : 0) - (pressed[menu_left] ? 1 : 0);
  const int n = static_cast<int>(items.size());
  if (n == 0) return menu_nothing;
  if (pressed[menu_up]) selected = (selected + n - 1) % n;
  if (pressed[menu_down]) selected = (selected + 1) % n;
  if (pressed[menu_confirm]) return selected;
  return menu_nothing;
}

void menu::draw(int y) const {
  int widest = 0, line = 0;
  for (const std::string& item : items) {
    int w = 0, h = 0;
    fight_text_size(("> " + item + " <").c_str(), w, h);
    widest = std::max(widest, w);
    line = std::max(line, h);
  }
  line += hud_px(6);
  const int pad = hud_px(10);
  const int screen_w = g_video.screen ? g_video.screen->w : 0;
  fill_hud_box((screen_w - widest) / 2 - pad, y - pad, widest + 2 * pad,
               line * static_cast<int>(items.size()) + 2 * pad, 0, 0, 0, 176);
  for (size_t i = 0; i < items.size(); ++i) {
    const std::string text = static_cast<int>(i) == selected ? "> " + items[i] + " <" : items[i];
    draw_fight_text_centred(y + static_cast<int>(i) * line, text.c_str());
  }
}

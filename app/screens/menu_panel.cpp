#include "app/screens/menu_panel.h"

#include <algorithm>

#include "app/fight/fight_text.h"
#include <string>
#include "app/fight/hud_box.h"
#include "app/fight/hud_scale.h"
#include "app/video.h"
#include "app/dev/script_driver.h"
#include "core/log.h"

namespace {

void trace_menu_panel(const char* heading, const std::vector<menu_panel_row>& rows, int selected) {
  if (!fight_tracing()) return;
  static std::string last;
  static long last_frame = -2;  // a panel shown again after other screens is told again
  const long frame = presented_frames();
  if (frame != last_frame && frame != last_frame + 1) last.clear();
  last_frame = frame;
  std::string now = std::string(heading) + "] at [";
  if (selected >= 0 && selected < static_cast<int>(rows.size())) {
    now += rows[selected].label + "] value [" + rows[selected].value;
  }
  if (now == last) return;
  last = now;
  log_err("fight trace: frame [%ld] menu [%s]\n", frame, now.c_str());
}

}  // namespace

void draw_menu_panel(const char* heading, const std::vector<menu_panel_row>& rows, int selected) {
  trace_menu_panel(heading, rows, selected);
  if (!g_video.screen) return;
  const int screen_w = g_video.screen->w, screen_h = g_video.screen->h;
  int label_w = 0, value_w = 0, line = 0;
  for (const menu_panel_row& r : rows) {
    int w = 0, h = 0;
    fight_text_size(r.label.c_str(), w, h);
    label_w = std::max(label_w, w);
    line = std::max(line, h);
    if (!r.value.empty()) {
      fight_text_size(("< " + r.value + " >").c_str(), w, h);
      value_w = std::max(value_w, w);
    }
  }
  int heading_w = 0, heading_h = 0;
  fight_text_size(heading, heading_w, heading_h);
  const int pad = hud_px(12), gap = hud_px(28), marker = hud_px(18);
  line += hud_px(8);
  const int inner_w = std::max(heading_w, label_w + (value_w > 0 ? gap + value_w : 0)) + 2 * marker;
  const int panel_w = inner_w + 2 * pad;
  const int panel_h = heading_h + pad + line * static_cast<int>(rows.size()) + 2 * pad;
  const int x = (screen_w - panel_w) / 2;
  const int y = std::max(0, (screen_h - panel_h) / 2);

  fill_hud_box(x, y, panel_w, panel_h, 8, 10, 24, 200);
  fill_hud_box(x, y + pad + heading_h + pad / 2, panel_w, hud_px(2), 220, 170, 60, 255);  // rule under the heading
  draw_fight_text_clear((screen_w - heading_w) / 2, y + pad, heading);

  const int rows_top = y + pad + heading_h + pad;
  for (size_t i = 0; i < rows.size(); ++i) {
    const menu_panel_row& r = rows[i];
    const int row_y = rows_top + static_cast<int>(i) * line;
    const bool chosen = static_cast<int>(i) == selected;
    if (chosen) {
      fill_hud_box(x + pad / 2, row_y - hud_px(3), panel_w - pad, line, 190, 120, 30, 230);
      draw_fight_text_clear(x + pad, row_y, ">");
      if (r.value.empty()) {  // a value row shows its own arrows
        int w = 0, h = 0;
        fight_text_size("<", w, h);
        draw_fight_text_clear(x + panel_w - pad - w, row_y, "<");
      }
    }
    int w = 0, h = 0;
    if (r.value.empty()) {
      fight_text_size(r.label.c_str(), w, h);
      draw_fight_text_clear((screen_w - w) / 2, row_y, r.label.c_str());
      continue;
    }
    draw_fight_text_clear(x + pad + marker, row_y, r.label.c_str());
    const std::string value = chosen ? "< " + r.value + " >" : r.value;
    fight_text_size(value.c_str(), w, h);
    draw_fight_text_clear(x + panel_w - pad - marker - w, row_y, value.c_str());
    if (r.greyed) fill_hud_box(x + pad, row_y - hud_px(3), panel_w - 2 * pad, line, 40, 40, 48, 150);
  }
}

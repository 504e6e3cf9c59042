#include "app/fight/match_hud.h"

#include <cstdio>

#include "app/fight/fight_text.h"
#include "app/fight/hud_box.h"
#include "app/fight/hud_scale.h"
#include "fight/match.h"
#include "app/fight/match_text.h"
#include "app/video.h"
#include "fighter/lifeform.h"
#include "gfx/health_gauge.h"
#include "gfx/img_mgr.h"

namespace {

int screen_width() { return g_video.screen ? g_video.screen->w : 0; }

// Round marks under the name: filled gold for a round won, dim for one still
// to win, from the screen's edge inwards.
void draw_marks(int entry, int wins, int needed, int y) {
  const int size = hud_px(8), step = hud_px(12), edge = hud_px(6);
  for (int i = 0; i < needed; ++i) {
    const int x = entry == 0 ? edge + i * step : screen_width() - edge - size - i * step;
    if (i < wins) {
      fill_hud_box(x, y, size, size, 255, 200, 40, 255);
    } else {
      fill_hud_box(x, y, size, size, 90, 90, 90, 200);
    }
  }
}

}  // namespace

gauge_side match_gauge_side(int entry, int screen_w) {
  // As the fighters start: entry 0 on the left growing right, entry 1 on the
  // right growing left (its bar's slanted top ends at the screen's edge).
  if (entry == 0) return {0, 1};
  return {screen_w - 25, 0};
}

void draw_match_hud(const match_state& match) {
  const int gauge_y = hud_px(5);
  for (int k = 0; k < 2; ++k) {
    const lifeform* l = lifeform_at(k);
    if (!l) continue;
    const gauge_side side = match_gauge_side(k, screen_width());
    const int length = !l->images.empty() && l->images[0] ? hud_px(l->images[0]->get_width()) : 0;
    int32_t pending = 1;
    draw_health_gauge(l->hp > 0 ? l->hp : 0, l->max_hp, side.facing, pending, length, side.x, gauge_y);
    int label_h = 0;
    if (!l->name.empty()) {
      int w = 0;
      fight_label_size(l->name.c_str(), w, label_h);
      const gauge_label_spot at = gauge_label_position(side.facing, side.x, gauge_y, w);
      draw_fight_label(at.x, at.y, l->name.c_str());
      label_h += at.y;
    } else {
      label_h = gauge_y + 15;
    }
    draw_marks(k, match.wins[k], match.rules.rounds_to_win(), label_h + hud_px(3));
  }
  if (match.rules.round_time > 0) {
    char clock[16];
    std::snprintf(clock, sizeof clock, "%d", match.clock_seconds());
    draw_fight_text_centred(hud_px(4), clock);
  }
}

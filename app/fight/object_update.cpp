#include "app/fight/object_update.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/fight/fight_text.h"
#include "app/video.h"
#include "core/safe_trunc.h"
#include "core/seams.h"
#include "fight/fight_step.h"
#include "fight/object_step.h"
#include "fighter/combo.h"
#include "fighter/lifeform.h"
#include "gfx/health_gauge.h"

bool match_draws_gauges = false;
bool combo_texts_named = false;

namespace {

int screen_width() { return g_video.screen ? g_video.screen->w : 0; }
int screen_height() { return g_video.screen ? g_video.screen->h : 0; }

// Where this frame's combo texts went; emptied at the start of every frame.
std::vector<SDL_Rect> combo_texts_this_frame;

// "Combo[%d]" (or the move's name in a match) centred above where the fighter is drawn, kept on screen and
// clear of the gauges and names at the top.
void show_combo(const lifeform& l) {
  if (l.combo_shown == -1) return;
  char text[32];
  if (combo_texts_named) {
    std::snprintf(text, sizeof text, "%s", combo_move_name(l.combo_shown));
  } else {
    std::snprintf(text, sizeof text, "Combo[%d]", l.combo_shown);
  }
  int w = 0, h = 0;
  fight_text_size(text, w, h);
  const lifeform::screen_box box = l.on_screen();
  const int top_margin = 44;  // below the gauges and the names by them
  const int x = std::max(0, std::min(box.x + box.w / 2 - w / 2, screen_width() - w));
  int y = std::max(top_margin, std::min(box.y - h - 4, screen_height() - h));
  // Fighters standing close: stack this text over the other's, or under it
  // when there is no room above.
  for (const SDL_Rect& other : combo_texts_this_frame) {
    const bool overlap = x < other.x + other.w && other.x < x + w && y < other.y + other.h && other.y < y + h;
    if (!overlap) continue;
    y = other.y - h - 2 >= top_margin ? other.y - h - 2 : other.y + other.h + 2;
  }
  combo_texts_this_frame.push_back(SDL_Rect{static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
                                            static_cast<Uint16>(h)});
  draw_fight_text(x, y, text);
}

// The fighter's name under its top-of-screen gauge.
void show_name(const lifeform& l, int gauge_x, int gauge_y) {
  if (l.name.empty()) return;
  int w = 0, h = 0;
  fight_label_size(l.name.c_str(), w, h);
  const gauge_label_spot at = gauge_label_position(l.facing, gauge_x, gauge_y, w);
  draw_fight_label(at.x, at.y, l.name.c_str());
}

// Draws each lifeform where the step shows it and the texts over it once
// its step is done.
class drawing_observer final : public step_observer {
 public:
  void objects_begin() override { combo_texts_this_frame.clear(); }
  void lifeform_shown(const lifeform& l) override { l.draw(); }
  void lifeform_done(const lifeform& l, int k) override { draw_lifeform_overlays(l, k); }
};

drawing_observer drawing;

}  // namespace

step_observer& object_drawing() { return drawing; }

void update_lifeform(int k) {
  step_events events;
  step_lifeform(k, &events, &drawing);
  play_step_sounds(events);
}

void draw_lifeform_overlays(const lifeform& l, int k) {
  show_combo(l);
  if ((k == 0 || k == 1) && !match_draws_gauges) {
    const int gauge_x = (1 - l.facing) * (screen_width() - 25);
    l.draw_health_gauge(gauge_x, 5, l.gauge_count + 1);
    show_name(l, gauge_x, 5);
  }
}

void update_all_lifeforms() {
  drawing.objects_begin();
  // The size is read again every pass: advances may append bullets.
  for (size_t k = 0; k < lifeform_list.size(); ++k) update_lifeform(static_cast<int>(k));
}

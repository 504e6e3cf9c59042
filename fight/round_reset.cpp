#include "fight/round_reset.h"

#include <cmath>
#include <cstring>

#include "fight/fight_cleanup.h"
#include "fight/fight_host.h"
#include "fighter/lifeform.h"
#include "stage/level.h"

namespace {

int level_centre() {
  if (!g_level) return 0;
  const double s = g_level->scale != 0.0 ? g_level->scale : 1.0;
  const double centre = 0.5 * g_level->max_width / s;
  if (!std::isfinite(centre) || std::fabs(centre) > 1e9) return 0;
  return static_cast<int>(centre);
}

}  // namespace

int fight_start_x(int entry) { return level_centre() + (entry == 0 ? -200 : 200); }

void reset_for_next_round() {
  for (int k = 0; k < 2; ++k) {
    lifeform* l = lifeform_at(k);
    if (!l) continue;
    l->hp = l->max_hp;
    l->clear_anim_stack();
    l->action = action_none;
    l->state = posture_standing;
    l->size_from_first_image();
    l->vx = l->vy = l->ax = l->ay = 0.0;
    l->combo_shown = -1;
    l->x = fight_start_x(k);
    l->y = fight_screen_height() - l->height;
    l->facing = k == 0 ? 1 : 0;
    std::memset(l->stream_cooldowns, 0, sizeof l->stream_cooldowns);
    for (weapon& w : l->weapons) {
      for (stream& s : w.streams) s.reload_counter = 0;
    }
  }
  for (size_t k = 2; k < lifeform_list.size(); ++k) {
    if (lifeform_list[k]) lifeform_list[k]->hp = -1;
  }
  remove_dead_projectiles();
  if (g_level) {
    g_level->shake = 0;
    g_level->flash = 0;
    g_level->flash_rate = 0;
  }
}

void lay_down(lifeform& l) {
  l.clear_anim_stack();
  l.action = action_none;
  l.size_from_first_image();
  l.state = posture_hit;
  l.y = fight_screen_height() - l.height;
}

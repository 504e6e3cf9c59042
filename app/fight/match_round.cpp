#include "app/fight/match_round.h"

#include <cstring>

#include "app/fight/fight_cleanup.h"
#include "app/fight/fight_setup.h"
#include "app/fight/object_update.h"
#include "app/video.h"
#include "fighter/lifeform.h"
#include "stage/level.h"

namespace {
int screen_height() { return g_video.screen ? g_video.screen->h : 0; }
}  // namespace

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
    l->y = screen_height() - l->height;
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
  l.y = screen_height() - l.height;
}

#include "app/fight/match_round.h"

#include <cstring>

#include "fight/fight_cleanup.h"
#include "app/fight/fight_setup.h"
#include "app/fight/object_update.h"
#include "app/video.h"
#include "core/safe_trunc.h"
#include "fighter/lifeform.h"
#include "gfx/img_mgr.h"
#include "gfx/screen.h"
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

bool draw_lying(lifeform& l) {
  img_mgr* img = l.knocked_out_image;
  if (!img || img->get_width() <= 0 || img->get_height() <= 0 || !g_screen.screen) return false;
  int cam_x = 0, cam_y = 0;
  double zoom = 1.0;
  if (g_level) {
    cam_x = g_level->scroll_x;
    cam_y = g_level->scroll_y;
    zoom = g_level->zoom;
  }
  if (img->flipped != static_cast<uint32_t>(l.facing)) img->flip();
  // Placed as the posture pictures are (the zoomed draw scales x from the
  // screen's left edge and keeps the bottom edge), in picture pixels.
  const int across = (l.width - img->get_width()) / 2;
  const int top = l.y + l.height - img->get_height() - cam_y;
  const double z = zoom * l.scale;
  if (z == 1.0) {
    img->draw(l.x - cam_x + across, top);
  } else {
    img->draw_zoomed(trunc_to_int(l.x / l.scale - cam_x) + across, top, g_screen.screen, z);
  }
  return true;
}

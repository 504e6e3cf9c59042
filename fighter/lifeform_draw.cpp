// A lifeform's draw, which shows its special animation's frames or its
// posture image with its gauge, and its advance: one tick of the special
// animation (which may fire a bullet), or its counters and age.
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/log.h"
#include "core/safe_trunc.h"
#include "fighter/lifeform.h"
#include "fighter/projectile.h"
#include "gfx/img_mgr.h"
#include "gfx/screen.h"
#include "stage/level.h"

namespace {

struct camera {
  int x = 0, y = 0;
  double zoom = 1.0;
};

camera current_camera() {
  camera c;
  if (g_level) {
    c.x = g_level->scroll_x;
    c.y = g_level->scroll_y;
    c.zoom = g_level->zoom;
  }
  return c;
}

}  // namespace

lifeform::screen_box lifeform::on_screen() const {
  const camera cam = current_camera();
  const double z = cam.zoom * scale;
  if (z == 1.0) return {x - cam.x, y - cam.y, width, height};
  // As draw_zoomed places the picture: the left edge scaled from the unzoomed
  // position, the bottom edge kept.
  const int left = trunc_to_int(static_cast<Sint16>(trunc_to_int(x / scale - cam.x)) * z);
  const int h = trunc_to_int(height * z);
  return {left, y - cam.y + height - h, trunc_to_int(width * z), h};
}

namespace {

bool plays_special(const lifeform& l) { return l.action != action_none && l.anim_stack && !l.anim_stack->empty(); }

// True when the next tick of `play` leaves its animation's last frame without
// looping: that tick ends the special animation.
bool tick_ends(const anim_play& play) {
  const animation* anim = play.animation;
  return !play.loop && play.countdown - 1 <= 0 && play.index + 1 >= anim->frames.size();
}

}  // namespace

void lifeform::draw() const {
  const camera cam = current_camera();
  if (plays_special(*this)) {
    for (const anim_play* play : anim_stack->plays) {
      animation* anim = play ? play->animation : nullptr;
      if (!anim) continue;
      anim->flipped = facing;
      anim->owner_scale = scale;
      anim->alpha = alpha;
      anim->draw_frame(trunc_to_int(x / scale - cam.x), y - cam.y, play->index);
      // The advance that follows ends the animation here: the records after
      // this one are not shown in its last frame.
      if (tick_ends(*play)) return;
    }
    return;
  }

  const int display_w = g_screen.screen ? g_screen.screen->w : 0;
  const int display_h = g_screen.screen ? g_screen.screen->h : 0;
  // The world x at the screen's right edge is cam.x + display_w / zoom. The
  // bound (cam.x + display_w) / zoom reaches further while zoomed out and is
  // kept there; zoomed in it falls short of the edge and would hide a fighter
  // standing in plain view.
  const double right_bound =
      std::max(std::trunc((cam.x + display_w) / cam.zoom), cam.x + std::trunc(display_w / cam.zoom));
  if (x + width < cam.x || x >= right_bound) return;
  img_mgr* img = nullptr;
  if (state >= 0 && static_cast<size_t>(state) < images.size()) img = images[state];
  if (!img) {
    log_out("Asset for state [%d] not set\n", state);
    if (!images.empty()) img = images[0];
  }
  // Without any image there is nothing to show for the posture, nor a gauge to size.
  if (!img) return;
  if (img->flipped != static_cast<uint32_t>(facing)) img->flip();
  const double z = cam.zoom * scale;
  if (z == 1.0) {
    img->draw(x - cam.x, y - cam.y);
  } else {
    img->draw_zoomed(trunc_to_int(x / scale - cam.x), y - cam.y, g_screen.screen, z);
  }
  int gauge_y = 0;
  if (team != 0) {
    gauge_y = y - 15 < 0 ? height : y - 15;
  } else {
    gauge_y = y + height + 15 > display_h ? y - 16 : y + height;
  }
  draw_health_gauge(x - cam.x - 12, gauge_y, gauge_count);
}

void lifeform::advance(frame_effect_sink& effects) {
  if (plays_special(*this)) {
    for (anim_play* play : anim_stack->plays) {
      animation* anim = play ? play->animation : nullptr;
      if (!anim) continue;
      anim->frame_effects(play->index, effects);

      play->countdown -= 1;
      if (play->countdown > 0) continue;

      // The frame just left fires after it has been shown.
      const size_t frame_count = anim->frames.size();
      if (play->index < frame_count && anim->frames[play->index].fire != 0) spawn_bullet(*this);
      play->index += 1;
      if (play->index < frame_count) play->countdown = anim->frames[play->index].rate;
      if (play->index >= frame_count) {
        if (play->loop) {
          play->index = 0;
          play->countdown = frame_count > 0 ? anim->frames[0].rate : 0;
        } else {
          clear_anim_stack();
          action = action_none;
          state = posture_standing;
          size_from_first_image();
          return;  // the stack is gone: no further record this frame
        }
      }
    }
    return;
  }

  // Reload counters run down only on frames without a special animation.
  const int weapon_count = weapons.size() < max_weapons ? static_cast<int>(weapons.size()) : max_weapons;
  for (int w = 0; w < weapon_count; ++w) {
    std::vector<stream>& streams = weapons[w].streams;
    const int stream_count = streams.size() < max_streams ? static_cast<int>(streams.size()) : max_streams;
    for (int s = 0; s < stream_count; ++s) {
      if (streams[s].reload_counter > 0) streams[s].reload_counter -= 1;
      stream_cooldowns[w][s] = streams[s].reload_counter;
    }
  }
  age += 1;
}

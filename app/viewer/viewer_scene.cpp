#include "app/viewer/viewer_scene.h"

#include <SDL_mixer.h>

#include <cmath>
#include <cstdio>

#include "fight/fight_camera.h"
#include "fight/fight_cleanup.h"
#include "fight/hit_detection.h"
#include "app/fight/hud_scale.h"
#include "app/fight/match_round.h"
#include "app/video.h"
#include "core/log.h"
#include "fighter/sound_effect.h"
#include "gfx/img_mgr.h"
#include "stage/level.h"

namespace {

int screen_w() { return g_video.screen ? g_video.screen->w : 0; }
int screen_h() { return g_video.screen ? g_video.screen->h : 0; }

// The middle of the stage in world pixels, where the fighter stands.
int stage_centre() {
  if (!g_level) return 0;
  const double s = g_level->scale > 0.0 ? g_level->scale : 1.0;
  const double centre = 0.5 * g_level->max_width / s;
  return std::isfinite(centre) && std::fabs(centre) < 1e9 ? static_cast<int>(centre) : 0;
}

// The special-animation code the fight gives a move of `slot`.
int action_for_slot(int slot, int facing) {
  if (slot == 1 || slot == 6 || slot == 7) return 1;
  if (slot == 12) return 2;
  if (slot == 15) return facing == 1 ? 3 : 4;
  return 0;
}

animation_frame* frame_of(anim_play* play) {
  if (!play || !play->animation || play->animation->frames.empty()) return nullptr;
  std::vector<animation_frame>& frames = play->animation->frames;
  return &frames[play->index < frames.size() ? play->index : frames.size() - 1];
}

// A firing frame spawns a bullet into lifeform_list; the viewer shows the
// fighter alone, so they go at once.
void drop_bullets() {
  for (lifeform* l : lifeform_list) free_projectile(l);
  lifeform_list.clear();
}

}  // namespace

void viewer_scene::start(const std::string& char_file) {
  fighter.load(char_file, view.costume);
  // The zoom a fight starts at: the two fighters 400 pixels apart mid-stage.
  if (g_level && fighter.plain) {
    lifeform a, b;
    a.width = b.width = fighter.rest_width;
    a.height = b.height = fighter.rest_height;
    a.y = b.y = screen_h() - fighter.rest_height;
    a.x = stage_centre() - 200;
    b.x = stage_centre() + 200;
    apply_camera(*g_level, fight_camera(a, b, screen_w(), screen_h(), g_level->max_width, g_level->scale));
    start_zoom = g_level->zoom;
  }
  shown_ = nullptr;
}

bool viewer_scene::slot_present(const lifeform& f, int slot) const {
  return slot >= 0 && static_cast<size_t>(slot) < f.moves.size() && f.moves[slot];
}

int viewer_scene::posture_drawn(const lifeform& f) const {
  const int p = view.is_knocked_out() ? posture_hit : view.item;  // without its picture the fight shows the hit posture
  return static_cast<size_t>(p) < f.images.size() && f.images[p] ? p : 0;
}

void viewer_scene::show_item() {
  lifeform* f = shown_;
  if (!f) return;
  f->clear_anim_stack();
  f->action = action_none;
  f->state = posture_standing;
  f->width = fighter.rest_width;
  f->height = fighter.rest_height;
  if (view.is_move()) {
    const int slot = view.slot();
    if (slot_present(*f, slot)) f->start_move(slot, action_for_slot(slot, view.facing));
    log_out("viewer: showing move [%d] [%s]\n", slot, fighter.move_files[slot].c_str());
  } else if (view.is_knocked_out() && f->knocked_out_image) {
    log_out("viewer: showing knocked out [%s]\n", f->knocked_out_image->name);
  } else {
    const int p = posture_drawn(*f);
    const img_mgr* img = static_cast<size_t>(p) < f->images.size() ? f->images[p] : nullptr;
    log_out("viewer: showing posture [%d] [%s]\n", view.item, img ? img->name : "");
  }
}

void viewer_scene::step_frame(int direction) {
  lifeform* f = shown_;
  if (!f || !view.is_move() || !slot_present(*f, view.slot())) return;
  if (f->action == action_none || f->anim_stack->empty()) show_item();  // a finished move starts again
  for (anim_play* play : f->anim_stack->plays) {
    if (!play || !play->animation || play->animation->frames.empty()) continue;
    const std::vector<animation_frame>& frames = play->animation->frames;
    const unsigned n = static_cast<unsigned>(frames.size());
    const unsigned at = play->index < n ? play->index : n - 1;
    play->index = static_cast<unsigned>((static_cast<int>(at) + static_cast<int>(n) + direction) % static_cast<int>(n));
    play->countdown = frames[play->index].rate;
    const animation_frame& now = frames[play->index];
    if (view.sound && now.has_sound && now.sound) now.sound->play();
  }
  const anim_play* first = f->anim_stack->empty() ? nullptr : f->anim_stack->plays[0];
  if (first && first->animation) {
    log_out("viewer: frame [%u/%d] of move [%d]\n", first->index + 1,
            static_cast<int>(first->animation->frames.size()), view.slot());
  }
}

void viewer_scene::command(viewer_command c) {
  switch (c) {
    case viewer_command::reload:
      fighter.reload();
      shown_ = nullptr;  // the next draw shows the item afresh on the new fighter
      return;
    case viewer_command::next_frame:
    case viewer_command::previous_frame:
      apply_view_command(view, c);
      step_frame(c == viewer_command::next_frame ? 1 : -1);
      return;
    case viewer_command::sound:
      apply_view_command(view, c);
      Mix_Volume(-1, view.sound ? MIX_MAX_VOLUME : 0);
      return;
    case viewer_command::quit:
      return;
    default: {
      const int item = view.item;
      apply_view_command(view, c);
      if (view.item != item) show_item();
      if (c == viewer_command::mirror && view.is_move() && view.slot() == 15) show_item();  // the dash's code follows the facing
      return;
    }
  }
}

void viewer_scene::place_and_aim_camera(lifeform& f) {
  const double level_scale = g_level->scale > 0.0 ? g_level->scale : 1.0;
  f.facing = view.facing;
  f.x = stage_centre() - fighter.rest_width / 2;
  f.y = screen_h() - f.height;  // on the floor, as the fight keeps it
  const double zoom = start_zoom * view.zoom_factor();
  const double drawn = zoom * level_scale;  // the stage's advance multiplies its zoom by its scale
  const double left = f.x + fighter.rest_width / 2.0 - screen_w() / (2.0 * drawn);
  g_level->scroll_x = left > 0.0 && std::isfinite(left) ? static_cast<int>(left) : 0;
  g_level->scroll_y = 0;
  g_level->zoom = zoom;
}

void viewer_scene::draw_fighter(lifeform& f) {
  origin_known_ = false;
  const img_mgr* picture = nullptr;
  if (view.is_knocked_out() && f.knocked_out_image && draw_lying(f)) {
    picture = f.knocked_out_image;
  } else if (!view.is_move()) {
    if (f.images.empty()) return;  // nothing to show, and draw would say so every frame
    f.state = posture_drawn(f);
    f.draw();
    f.advance(live_frame_effects());
    picture = f.images[f.state];
  } else {
    const int slot = view.slot();
    if (!slot_present(f, slot)) return;
    if (f.action == action_none || f.anim_stack->empty()) f.start_move(slot, action_for_slot(slot, view.facing));
    animation_frame* first = f.anim_stack->empty() ? nullptr : frame_of(f.anim_stack->plays[0]);
    picture = first ? first->image.get() : nullptr;
    f.draw();
    // Held on its frame while paused: drawn only, without the tick and its
    // sound, shake, flash and firing.
    if (!view.paused) f.advance(live_frame_effects());
  }
  drop_bullets();
  if (picture) {
    origin_x_ = picture->dest_rect.x;
    origin_y_ = picture->dest_rect.y;
    origin_known_ = true;
  }
}

void viewer_scene::draw() {
  lifeform* f = current();
  if (f != shown_) {
    shown_ = f;
    show_item();
  }
  if (!g_level) return;
  if (f) place_and_aim_camera(*f);
  g_level->advance();
  g_level->draw();
  if (!f) return;
  draw_fighter(*f);
  const screen_box box = map_to_screen(f->x, f->y, f->x + f->width, f->y + f->height, f->height);
  draw_outline(box.left, box.top, box.right, box.bottom, hit_box_colour);
  if (origin_known_) draw_cross(origin_x_, origin_y_, hud_px(6), origin_colour);
}

std::vector<std::string> viewer_scene::info_lines() const {
  std::vector<std::string> lines;
  const lifeform* f = shown_;
  char text[512];
  const int shown_count = view.is_move() ? move_slot_count : viewer_posture_count;
  const int number = view.is_move() ? view.slot() : view.item;
  if (view.is_knocked_out()) {
    std::snprintf(text, sizeof text, "%s  %s   knocked out (in a match)", f ? f->name.c_str() : "?", fighter.file.c_str());
  } else {
    std::snprintf(text, sizeof text, "%s  %s   %s %d of 0..%d: %s", f ? f->name.c_str() : "?", fighter.file.c_str(),
                  view.is_move() ? "move" : "posture", number, shown_count - 1,
                  view.is_move() ? viewer_slot_name(number) : viewer_posture_name(number));
  }
  lines.push_back(text);

  if (!f) {
    lines.push_back("not loaded");
  } else if (view.is_knocked_out()) {
    const img_mgr* img = f->knocked_out_image;
    if (img) {
      std::snprintf(text, sizeof text, "%s  %d x %d", img->name, img->get_width(), img->get_height());
    } else {
      std::snprintf(text, sizeof text, "no knocked_out picture in the character file: the fight shows the hit posture");
    }
    lines.push_back(text);
  } else if (view.is_move()) {
    const int slot = view.slot();
    if (!slot_present(*f, slot)) {
      std::snprintf(text, sizeof text, "no move%d in the character file: the fight skips this move", slot);
      lines.push_back(text);
    } else {
      const anim_play* play = f->anim_stack && !f->anim_stack->empty() ? f->anim_stack->plays[0] : nullptr;
      const animation* anim = f->moves[slot]->animations.empty() ? nullptr : f->moves[slot]->animations[0].get();
      lines.push_back(anim ? describe_animation_frame(fighter.move_files[slot], *anim, play ? play->index : 0)
                           : fighter.move_files[slot] + "  no animation");
    }
  } else if (f->images.empty()) {
    lines.push_back("no posture pictures (images) in the character file");
  } else {
    const int p = posture_drawn(*f);
    const img_mgr* img = f->images[p];
    if (p != view.item) {
      std::snprintf(text, sizeof text, "no picture for this posture: the fight shows posture 0 (%s)", img->name);
    } else {
      std::snprintf(text, sizeof text, "%s  %d x %d", img->name, img->get_width(), img->get_height());
    }
    lines.push_back(text);
  }

  std::snprintf(text, sizeof text, "zoom %.2f  %s  %s costume  sound %s  %s  box %d x %d",
                g_level ? g_level->zoom : 1.0, view.facing ? "facing right (mirrored)" : "facing left",
                view.costume ? "player's" : "computer's", view.sound ? "on" : "off",
                view.paused ? "paused" : "playing", f ? f->width : 0, f ? f->height : 0);
  lines.push_back(text);
  return lines;
}

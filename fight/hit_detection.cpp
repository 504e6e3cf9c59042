#include "fight/hit_detection.h"

#include <cmath>
#include <limits>

#include "fight/fight_host.h"
#include "fight/object_step.h"
#include "fighter/lifeform.h"
#include "core/safe_trunc.h"
#include "gfx/img_mgr.h"
#include "stage/level.h"

namespace {

int first_image_height(const lifeform& l) { return !l.images.empty() && l.images[0] ? l.images[0]->get_height() : 0; }

// Replaces whatever `l` plays by its hit reaction from `slot`. Without that
// move it takes the blow with no reaction: marking it as reacting with nothing
// to play would leave it unhurtable for the rest of the fight.
void start_hit_reaction(lifeform& l, int slot) {
  l.clear_anim_stack();
  if (!l.start_move(slot, action_hit)) l.action = action_none;
}

// Body contact picks the reaction by the posture of the one hurt.
int reaction_slot(const lifeform& l) {
  if (l.state == posture_crouching) return slot_hit_crouching;
  if (l.state == posture_airborne) return slot_hit_airborne;
  return slot_hit;
}

}  // namespace

void move_size(const lifeform& l, int slot, int& w, int& h) {
  w = h = 0;
  if (slot < 0 || static_cast<size_t>(slot) >= l.moves.size() || !l.moves[slot]) return;
  w = l.moves[slot]->max_width;
  h = l.moves[slot]->max_height;
}

int first_image_width(const lifeform& l) { return !l.images.empty() && l.images[0] ? l.images[0]->get_width() : 0; }

screen_box map_to_screen(int left, int top, int right, int bottom, int lifeform_height) {
  const int sx = g_level ? g_level->scroll_x : 0;
  const int sy = g_level ? g_level->scroll_y : 0;
  const double zoom = g_level ? g_level->zoom : 1.0;
  const double shift = lifeform_height - lifeform_height * zoom;
  screen_box b;
  b.left = trunc_to_int((left - sx) * zoom);
  b.right = trunc_to_int((right - sx) * zoom);
  b.top = trunc_to_int((top - sy) + shift);
  b.bottom = trunc_to_int((bottom - sy) + shift);
  return b;
}

bool overlap_test(lifeform& p, lifeform& q) {
  const screen_box pb = map_to_screen(p.x, p.y, p.x + p.width, p.y + p.height, p.height);
  const screen_box qb = map_to_screen(q.x, q.y, q.x + q.width, q.y + q.height, q.height);

  current_fight_host().boxes_compared(p, q);
  return pb.bottom >= qb.top && pb.top <= qb.bottom && pb.right >= qb.left && pb.left <= qb.right;
}

bool guarding(const lifeform& l) {
  return l.state == posture_blocking || l.state == posture_block_air || l.state == posture_block_struck ||
         l.state == posture_block_slide;
}

bool hurt_by_contact(lifeform& l, int slot) {
  if (l.action == action_hit) return false;
  l.hp -= 10;
  l.action = action_hit;
  start_hit_reaction(l, slot);
  return true;
}

void body_contact() {
  lifeform* a = lifeform_at(0);
  lifeform* b = lifeform_at(1);
  if (!a || !b || !overlap_test(*a, *b)) return;

  if (a->state == posture_attacking) {
    if (guarding(*b)) return;
    if (b->state == posture_attacking) {
      // Trading blows: each is thrown back by its punch's height over its stance's.
      for (lifeform* l : {a, b}) {
        if (!hurt_by_contact(*l, slot_hit)) continue;
        int w, h;
        move_size(*l, slot_punch, w, h);
        l->y += h - first_image_height(*l);
      }
      return;
    }
    hurt_by_contact(*b, reaction_slot(*b));
    return;
  }
  if (!guarding(*a) && b->state == posture_attacking) hurt_by_contact(*a, reaction_slot(*a));
}

void strike(lifeform& struck, const lifeform& striker) {
  if (guarding(struck)) {
    if (struck.state == posture_blocking) {
      if (on_floor(struck)) {
        struck.state = struck.vx > 0 ? posture_block_slide : posture_block_struck;
      } else {
        struck.state = posture_block_air;
      }
    }
    struck.hp -= 1;
    return;
  }
  if (struck.action == action_hit) return;
  struck.action = action_hit;
  start_hit_reaction(struck, slot_hit);
  struck.hp -= striker.damage;
  struck.state = posture_attacking;
}

void projectile_hits() {
  // Strikes never add to the list, so its size is fixed for the pass.
  const size_t n = lifeform_list.size();
  for (size_t i = 0; i + 1 < n; ++i) {
    lifeform* a = lifeform_list[i];
    if (!a || !a->alive()) continue;
    for (size_t j = i + 1; j < n; ++j) {
      lifeform* b = lifeform_list[j];
      if (!b || !b->alive()) continue;
      if (a->team == b->team) continue;
      if (a->kind != kind_projectile && b->kind != kind_projectile) continue;
      if (!overlap_test(*a, *b)) continue;
      strike(*a, *b);
      strike(*b, *a);
      // The first strike may have killed a; the pair rule still applies both.
      if (!a->alive()) break;
    }
  }
}

#include "fighter/projectile.h"

#include <cmath>

#include "anim/frame_effects.h"
#include "core/log.h"
#include "core/seams.h"
#include "fighter/lifeform.h"
#include "fighter/path.h"
#include "fighter/sound_effect.h"

std::unique_ptr<move> copy_move(const move& src) {
  std::unique_ptr<move> m = std::make_unique<move>();
  for (const counted_ptr<animation>& a : src.animations) m->add(a);
  m->max_width = src.max_width;
  m->max_height = src.max_height;
  return m;
}

namespace {

int32_t list_entry_of(const lifeform& l) {
  for (size_t k = 0; k < lifeform_list.size(); ++k) {
    if (lifeform_list[k] == &l) return static_cast<int32_t>(k);
  }
  return -1;
}

}  // namespace

lifeform* spawn_bullet(lifeform& shooter) {
  move* source = shooter.move_at(projectile_move_slot);
  if (!source) return nullptr;

  std::unique_ptr<lifeform> b = std::make_unique<lifeform>();
  b->moves.assign(15, nullptr);
  b->add_image(image_cache.fetch(bullet_image_name));  // none without memory for the copy
  move* m = b->adopt_move(copy_move(*source));
  b->moves[14] = m;
  b->moves[1] = m;
  b->moves[0] = m;

  b->team = shooter.team;
  b->x = shooter.x;
  b->y = shooter.y + 50;
  b->ax = shooter.facing == 1 ? 1.0 : -1.0;
  std::unique_ptr<::anim_stack> stack = m->new_anim_stack();
  if (stack) b->anim_stack = std::move(stack);
  b->width = m->max_width;
  b->height = m->max_height;
  b->action = action_attack;
  b->state = posture_attacking;
  b->kind = kind_projectile;
  b->edge_death = 1;
  b->facing = shooter.facing;

  b->give_path(std::make_unique<path>());
  b->path->add_step(mode_straight);
  b->speed = 0.1;
  b->damage = 15;
  b->hp = 1;
  b->source_entry = list_entry_of(shooter);
  return enlist_projectile(std::move(b));
}

namespace {

int stream_limit(const weapon& w) {
  return static_cast<int>(w.streams.size() < max_streams ? w.streams.size() : max_streams);
}
int weapon_limit(const lifeform& l) {
  return static_cast<int>(l.weapons.size() < max_weapons ? l.weapons.size() : max_weapons);
}

void restore_counters(lifeform& l) {
  for (int w = 0; w < weapon_limit(l); ++w) {
    for (int s = 0; s < stream_limit(l.weapons[w]); ++s) {
      l.weapons[w].streams[s].reload_counter = l.stream_cooldowns[w][s];
    }
  }
}

void save_counters(lifeform& l) {
  for (int w = 0; w < weapon_limit(l); ++w) {
    for (int s = 0; s < stream_limit(l.weapons[w]); ++s) {
      l.stream_cooldowns[w][s] = l.weapons[w].streams[s].reload_counter;
    }
  }
}

}  // namespace

void fire_weapons(lifeform& carrier, frame_effect_sink& effects) {
  if (carrier.weapons.empty() || !carrier.path) return;
  restore_counters(carrier);
  const int n = carrier.path->primary_trigger;
  if (n >= 1 && n <= weapon_limit(carrier)) {
    carrier.size_from_first_image();
    log_out("fireing [%d]\n", n);
    weapon& w = carrier.weapons[n - 1];
    w.team = carrier.team;
    if (!w.disabled) fire_weapon(carrier, w, effects);
  }
  // The reset value -1 counts as a request, as the trigger was always read.
  if (weapon_limit(carrier) >= 2 && carrier.path->secondary_trigger != 0) {
    carrier.size_from_first_image();
    weapon& w = carrier.weapons[1];
    w.team = carrier.team;
    if (!w.disabled) {
      fire_weapon(carrier, w, effects);
    } else {
      log_out("Weapon 1 failed test!!\n");
    }
  }
  save_counters(carrier);
}

void fire_weapon(lifeform& carrier, weapon& w, frame_effect_sink& effects) {
  if (w.streams.empty()) {
    log_out("FAULT: This weapon does not have any streams [%x]\n", log_addr(&w));
    return;
  }
  const double aim_x = carrier.path ? carrier.path->aim_x : 0.0;
  const double aim_y = carrier.path ? carrier.path->aim_y : 0.0;
  for (int i = 0; i < stream_limit(w); ++i) {
    stream& s = w.streams[i];
    if (s.reload_counter >= 1 || s.disabled) continue;
    log_out("Before new proj\n");
    const int iw = s.image ? s.image->get_width() : 0;
    const int ih = s.image ? s.image->get_height() : 0;
    int x = s.x_offset + carrier.x + (carrier.width / 2 - iw / 2);
    const double big_y = carrier.y + carrier.height / 2 + 0.5 * carrier.height * aim_y -
                         ih * std::trunc(carrier.vy) * aim_y - 0.5 * (ih / 2 - 0.5 * ih * aim_y);
    const int y = s.y_offset + static_cast<int>(big_y);
    if (s.jitter) x += game_rand() % 7 - 3;

    lifeform prepared;
    prepared.images.push_back(s.image.get());
    prepared.images.push_back(s.image.get());
    prepared.hp = 1;
    prepared.max_hp = 1;
    prepared.path = nullptr;
    prepared.kind = kind_projectile;
    prepared.edge_death = 1;
    prepared.target = -1;
    prepared.gauge_count = -1;
    prepared.team = w.team;
    prepared.damage = s.damage;
    prepared.vx = aim_x + s.vx;
    prepared.vy = aim_y + s.vy;
    prepared.ax = s.ax;
    prepared.ay = s.ay;
    prepared.x = x;
    prepared.y = y;

    // A carried sound is never played, so it is not stored either.
    if (s.sound_flag && !s.carry_sound && s.sound) effects.sound(*s.sound.get(), w.channel + 1);
    s.reload_counter = s.reload;

    lifeform* shot = enlist_projectile(std::make_unique<lifeform>(prepared));
    shot->source_entry = list_entry_of(carrier);
    const bool carried = !carrier.weapons.empty() && &w >= carrier.weapons.data() &&
                         &w < carrier.weapons.data() + carrier.weapons.size();
    shot->source_weapon = carried ? static_cast<int32_t>(&w - carrier.weapons.data()) : -1;
    shot->source_stream = i;
  }
}

bool attach_weapon(lifeform& carrier, const weapon& w) {
  if (carrier.weapons.size() >= static_cast<size_t>(max_weapons)) {
    log_out("ERROR: lifeform [%x] already carries [%d] weapons, weapon refused\n", log_addr(&carrier),
            max_weapons);
    return false;
  }
  carrier.weapons.push_back(w);
  weapon& kept = carrier.weapons.back();
  if (kept.streams.size() > static_cast<size_t>(max_streams)) {
    log_out("WARNING: weapon with [%d] streams clamped to [%d]\n", static_cast<int>(kept.streams.size()),
            max_streams);
    kept.streams.resize(max_streams);
  }
  const int w_index = static_cast<int>(carrier.weapons.size()) - 1;
  for (size_t s = 0; s < kept.streams.size(); ++s) {
    carrier.stream_cooldowns[w_index][s] = kept.streams[s].reload_counter;
  }
  return true;
}

#include "fighter/lifeform.h"

#include <algorithm>

#include "core/log.h"
#include "fighter/path.h"
#include "fighter/projectile.h"

std::vector<lifeform*> lifeform_list;
int32_t next_lifeform_id = 1;

lifeform* lifeform_at(int index) {
  if (index < 0 || static_cast<size_t>(index) >= lifeform_list.size()) return nullptr;
  return lifeform_list[index];
}

lifeform* enlist_projectile(std::unique_ptr<lifeform> projectile) {
  lifeform_list.push_back(projectile.get());
  return projectile.release();
}

lifeform::lifeform()
    : anim_stack(std::make_unique<::anim_stack>()),
      combos(std::make_shared<std::vector<combo>>()),
      id(next_lifeform_id++) {}

lifeform::lifeform(const lifeform& src) : anim_stack(std::make_unique<::anim_stack>()), id(next_lifeform_id++) {
  log_out("Copy cstr lifeform [%x]to[%x]\n", log_addr(&src), log_addr(this));
  *this = src;
}

lifeform& lifeform::operator=(const lifeform& src) {
  log_out("Assigning lifeform [%x]to[%x]\n", log_addr(&src), log_addr(this));
  if (this == &src) return *this;

  images = src.images;
  hp = src.hp;
  max_hp = src.max_hp;
  x = src.x;
  y = src.y;
  height = src.height;
  width = src.width;
  vx = src.vx;
  vy = src.vy;
  ax = src.ax;
  ay = src.ay;
  speed = src.speed;
  damage = src.damage;
  target = src.target;
  team = src.team;
  facing = src.facing;
  weapons = src.weapons;  // streams are values: copied with their weapon
  colour_swaps = src.colour_swaps;
  costume_on_copies = src.costume_on_copies;
  state = src.state;
  edge_death = src.edge_death;
  kind = src.kind;
  path = src.path;  // shared
  age = src.age;
  path_step = src.path_step;

  // Copies of the moves share their animations; this lifeform keeps the copies.
  owned_moves.clear();
  moves.assign(src.moves.size(), nullptr);
  for (size_t i = 0; i < src.moves.size(); ++i) {
    if (!src.moves[i]) continue;
    // A move held in several slots stays one shared copy.
    size_t first = std::find(src.moves.begin(), src.moves.end(), src.moves[i]) - src.moves.begin();
    if (first < i) {
      moves[i] = moves[first];
      continue;
    }
    moves[i] = adopt_move(copy_move(*src.moves[i]));
  }

  // The playing records are duplicated rather than shared: each stack owns its records.
  clear_anim_stack();
  if (src.anim_stack) {
    for (const anim_play* p : src.anim_stack->plays) {
      if (p) anim_stack->add(*p);
    }
  }
  action = src.action;
  std::copy(&src.stream_cooldowns[0][0], &src.stream_cooldowns[0][0] + max_weapons * max_streams,
            &stream_cooldowns[0][0]);
  gauge_count = src.gauge_count;
  scale = src.scale;
  combos = src.combos;  // shared
  std::copy(src.ai_weights, src.ai_weights + 6, ai_weights);
  controls = src.controls;
  alpha = src.alpha;
  name = src.name;
  missing_move_said = src.missing_move_said;
  return *this;
}

lifeform::~lifeform() = default;  // here, where path is a complete type

move* lifeform::adopt_move(std::unique_ptr<move> m) {
  owned_moves.push_back(std::move(m));
  return owned_moves.back().get();
}

void lifeform::give_path(std::unique_ptr<::path> p) {
  path = p.get();
  own_path = std::move(p);
}

bool lifeform::add_image(fetched<img_mgr> picture) {
  img_mgr* img = picture.get();
  if (!img) return false;
  if (!picture.is_lent()) owned_images.push_back(hold_private(picture.take_copy()));
  images.push_back(img);
  return true;
}

move* lifeform::move_at(int slot) {
  if (slot >= 0 && static_cast<size_t>(slot) < moves.size() && moves[slot]) return moves[slot];
  if (std::find(missing_move_said.begin(), missing_move_said.end(), slot) == missing_move_said.end()) {
    missing_move_said.push_back(slot);
    log_out("WARNING: lifeform [%x] has no move [%d], request skipped\n", log_addr(this), slot);
  }
  return nullptr;
}

bool lifeform::start_move(int slot, int32_t new_action) {
  move* m = move_at(slot);
  if (!m) return false;
  std::unique_ptr<::anim_stack> fresh = m->new_anim_stack();
  if (!fresh) return false;
  anim_stack = std::move(fresh);
  width = m->max_width;
  height = m->max_height;
  action = new_action;
  return true;
}

void lifeform::clear_anim_stack() { anim_stack = std::make_unique<::anim_stack>(); }

void lifeform::size_from_first_image() {
  if (images.empty() || !images[0]) {
    width = 0;
    height = 0;
    return;
  }
  width = images[0]->get_width();
  height = images[0]->get_height();
}

void lifeform::steer(frame_effect_sink& effects) {
  if (!path) {
    log_out("Warning [projectile]: This lifeform does not have a path [%x]\n", log_addr(this));
    return;
  }
  // State in.
  path->step_index = path_step;
  path->x = x;
  path->y = y;
  path->vx = vx;
  path->vy = vy;
  path->age = age;
  path->primary_trigger = -1;
  path->secondary_trigger = -1;
  path->facing = facing;
  path->target = target;
  std::copy(ai_weights, ai_weights + 6, path->ai_weights);

  path->update();

  // Results out.
  vx = path->vx;
  vy = path->vy;
  path_step = path->step_index;
  target = path->target;

  if (!weapons.empty()) fire_weapons(*this, effects);
}

#include "fight/fight_state.h"

#include <algorithm>
#include <cstring>

#include "anim/animation.h"
#include "core/seams.h"
#include "fight/fight_clock.h"
#include "fight/match.h"
#include "fighter/path.h"
#include "fighter/projectile.h"
#include "stage/level.h"

namespace {

constexpr size_t max_spares = 2 * max_state_projectiles;

// ---- capture ----------------------------------------------------------------

bool save_plays(const lifeform& l, const fight_content& content, body_state& b) {
  if (!l.anim_stack) return true;
  if (l.anim_stack->size() > static_cast<size_t>(max_state_plays)) return false;
  b.play_count = static_cast<int32_t>(l.anim_stack->size());
  for (int i = 0; i < b.play_count; ++i) {
    const anim_play* p = l.anim_stack->plays[i];
    play_state& s = b.plays[i];
    if (!p) return false;
    s.animation = p->animation ? content.animation_id(p->animation) : -1;
    if (p->animation && s.animation < 0) return false;
    s.x = p->x;
    s.y = p->y;
    s.index = p->index;
    s.countdown = p->countdown;
    s.active = p->active;
    s.loop = p->loop;
  }
  return true;
}

void save_path(const path& p, path_state& s) {
  s.vx = p.vx;
  s.vy = p.vy;
  s.aim_x = p.aim_x;
  s.aim_y = p.aim_y;
  s.step_index = p.step_index;
  s.primary_trigger = p.primary_trigger;
  s.secondary_trigger = p.secondary_trigger;
  s.x = p.x;
  s.y = p.y;
  s.age = p.age;
  s.facing = p.facing;
  s.ai_decision = p.ai_decision;
  s.target = p.target;
  s.actions = p.actions;
  const computer_memory& m = p.ai;
  s.ai.level = m.level;
  s.ai.in_reach = m.in_reach;
  s.ai.has_fired_special = m.has_fired_special;
  s.ai.evading = m.evading;
  s.ai.opponent_attacking = m.opponent_attacking;
  s.ai.guarding_close = m.guarding_close;
  s.ai.hand_to_hand = m.hand_to_hand;
  s.ai.chance_at = m.chance_at;
  s.ai.last_special_at = m.last_special_at;
  s.ai.judged_projectile = m.judged_projectile;
}

bool save_recognizer(const combo_recognizer& r, recognizer_state& s) {
  if (r.history.size() > max_key_history || r.attempts.size() > max_combo_attempts ||
      r.watched.size() > static_cast<size_t>(max_watched_keys)) {
    return false;
  }
  s.now = r.now;
  s.history_count = static_cast<int32_t>(r.history.size());
  for (size_t i = 0; i < r.history.size(); ++i) {
    s.history[i].key = r.history[i].key;
    s.history[i].time = r.history[i].time;
    s.history[i].state = r.history[i].state;
  }
  s.watched_count = static_cast<int32_t>(r.watched.size());
  for (size_t i = 0; i < r.watched.size(); ++i) s.watched_state[i] = r.watched[i].last_state;
  s.attempt_count = static_cast<int32_t>(r.attempts.size());
  for (size_t i = 0; i < r.attempts.size(); ++i) {
    const combo_attempt& a = r.attempts[i];
    attempt_state& t = s.attempts[i];
    t.combo = -1;
    if (a.which) {
      if (!r.combos || a.which < r.combos->data() || a.which >= r.combos->data() + r.combos->size()) return false;
      t.combo = static_cast<int32_t>(a.which - r.combos->data());
    }
    t.step_index = a.step_index;
    t.deadline = a.deadline;
    t.last_match = a.last_match;
    t.from_keys = a.from_keys;
    t.started = a.started;
  }
  return true;
}

bool recognizer_idle(const combo_recognizer& r) { return r.history.empty() && r.attempts.empty(); }

void save_weapons(const lifeform& l, weapons_state& w) {
  for (size_t i = 0; i < l.weapons.size() && i < static_cast<size_t>(max_weapons); ++i) {
    const weapon& from = l.weapons[i];
    w.team[i] = from.team;
    w.disabled[i] = from.disabled;
    for (size_t s = 0; s < from.streams.size() && s < static_cast<size_t>(max_streams); ++s) {
      w.reload_counters[i][s] = from.streams[s].reload_counter;
    }
  }
}

bool save_body(const lifeform& l, const fight_content& content, body_state& b) {
  b.vx = l.vx;
  b.vy = l.vy;
  b.ax = l.ax;
  b.ay = l.ay;
  b.speed = l.speed;
  b.scale = l.scale;
  for (int32_t slot : l.missing_move_said) {
    if (slot >= 0 && slot < 64) b.missing_moves_said |= uint64_t{1} << slot;
  }
  b.id = l.id;
  b.source_entry = l.source_entry;
  b.source_weapon = l.source_weapon;
  b.source_stream = l.source_stream;
  b.hp = l.hp;
  b.max_hp = l.max_hp;
  b.x = l.x;
  b.y = l.y;
  b.height = l.height;
  b.width = l.width;
  b.damage = l.damage;
  b.target = l.target;
  b.team = l.team;
  b.facing = l.facing;
  b.state = l.state;
  b.edge_death = l.edge_death;
  b.kind = l.kind;
  b.age = l.age;
  b.path_step = l.path_step;
  b.action = l.action;
  b.gauge_count = l.gauge_count;
  b.alpha = l.alpha;
  b.combo_shown = l.combo_shown;
  b.combo_shown_until = l.combo_shown_until;
  std::memcpy(b.stream_cooldowns, l.stream_cooldowns, sizeof b.stream_cooldowns);
  if (!save_plays(l, content, b)) return false;
  b.has_path = l.path != nullptr;
  if (l.path) save_path(*l.path, b.path);
  if (l.kind != kind_fighter && !l.moves.empty() && l.moves[0]) {
    b.own_move_size[0] = l.moves[0]->max_width;
    b.own_move_size[1] = l.moves[0]->max_height;
  }
  return true;
}

bool save_move_sizes(const lifeform& l, int32_t sizes[max_char_moves][2]) {
  if (l.moves.size() > static_cast<size_t>(max_char_moves)) return false;
  for (size_t slot = 0; slot < l.moves.size(); ++slot) {
    if (!l.moves[slot]) continue;
    sizes[slot][0] = l.moves[slot]->max_width;
    sizes[slot][1] = l.moves[slot]->max_height;
  }
  return true;
}

void restore_move_sizes(const int32_t sizes[max_char_moves][2], lifeform& l) {
  for (size_t slot = 0; slot < l.moves.size() && slot < static_cast<size_t>(max_char_moves); ++slot) {
    if (!l.moves[slot]) continue;
    l.moves[slot]->max_width = sizes[slot][0];
    l.moves[slot]->max_height = sizes[slot][1];
  }
}

// A projectile the content can rebuild: a bullet of a fighter's slot 13 move
// or a fighter's weapon shot, steering by nothing but its own path.
bool rebuildable(const lifeform& l, const fight_content& content) {
  if (l.source_entry != 0 && l.source_entry != 1) return false;
  const lifeform* shooter = content.fighters[l.source_entry];
  if (!shooter) return false;
  if (l.source_weapon < 0) return l.path && l.path == l.own_path.get() && recognizer_idle(l.path->recognizer);
  if (static_cast<size_t>(l.source_weapon) >= shooter->weapons.size()) return false;
  const weapon& w = shooter->weapons[l.source_weapon];
  return l.source_stream >= 0 && static_cast<size_t>(l.source_stream) < w.streams.size() && !l.path;
}

// ---- write back ---------------------------------------------------------------

void restore_plays(const body_state& b, const fight_content& content, lifeform& l) {
  if (!l.anim_stack) l.anim_stack = std::make_unique<::anim_stack>();
  // The records are kept and overwritten: a restore allocates only when a
  // stack has to grow.
  anim_stack& stack = *l.anim_stack;
  while (stack.size() > static_cast<size_t>(b.play_count)) {
    delete stack.plays.back();
    stack.plays.pop_back();
  }
  while (stack.size() < static_cast<size_t>(b.play_count) && stack.add(anim_play{})) {
  }
  for (int i = 0; i < b.play_count && static_cast<size_t>(i) < stack.size(); ++i) {
    const play_state& s = b.plays[i];
    anim_play* p = stack.plays[i];
    p->animation = s.animation >= 0 ? content.animations[s.animation] : nullptr;
    p->x = s.x;
    p->y = s.y;
    p->index = s.index;
    p->countdown = s.countdown;
    p->active = s.active;
    p->loop = s.loop;
  }
}

void restore_path(const path_state& s, path& p) {
  p.vx = s.vx;
  p.vy = s.vy;
  p.aim_x = s.aim_x;
  p.aim_y = s.aim_y;
  p.step_index = s.step_index;
  p.primary_trigger = s.primary_trigger;
  p.secondary_trigger = s.secondary_trigger;
  p.x = s.x;
  p.y = s.y;
  p.age = s.age;
  p.facing = s.facing;
  p.ai_decision = s.ai_decision;
  p.target = s.target;
  p.actions = static_cast<player_actions>(s.actions);
  computer_memory& m = p.ai;
  m.level = s.ai.level;
  m.in_reach = s.ai.in_reach != 0;
  m.has_fired_special = s.ai.has_fired_special != 0;
  m.evading = s.ai.evading != 0;
  m.opponent_attacking = s.ai.opponent_attacking != 0;
  m.guarding_close = s.ai.guarding_close != 0;
  m.hand_to_hand = s.ai.hand_to_hand != 0;
  m.chance_at = s.ai.chance_at;
  m.last_special_at = s.ai.last_special_at;
  m.judged_projectile = s.ai.judged_projectile;
}

void restore_recognizer(const recognizer_state& s, combo_recognizer& r) {
  r.now = s.now;
  r.history.resize(static_cast<size_t>(s.history_count));
  for (int i = 0; i < s.history_count; ++i) r.history[i] = s.history[i];
  for (int i = 0; i < s.watched_count && static_cast<size_t>(i) < r.watched.size(); ++i) {
    r.watched[i].last_state = s.watched_state[i];
  }
  r.attempts.resize(static_cast<size_t>(s.attempt_count));
  for (int i = 0; i < s.attempt_count; ++i) {
    const attempt_state& t = s.attempts[i];
    combo_attempt& a = r.attempts[i];
    a.which = t.combo >= 0 && r.combos ? r.combos->data() + t.combo : nullptr;
    a.step_index = t.step_index;
    a.deadline = t.deadline;
    a.last_match = t.last_match;
    a.from_keys = t.from_keys;
    a.started = t.started;
  }
}

void restore_weapons(const weapons_state& w, lifeform& l) {
  for (size_t i = 0; i < l.weapons.size() && i < static_cast<size_t>(max_weapons); ++i) {
    weapon& to = l.weapons[i];
    to.team = w.team[i];
    to.disabled = w.disabled[i];
    for (size_t s = 0; s < to.streams.size() && s < static_cast<size_t>(max_streams); ++s) {
      to.streams[s].reload_counter = w.reload_counters[i][s];
    }
  }
}

void restore_missing_said(uint64_t bits, std::vector<int32_t>& said) {
  said.clear();
  for (int32_t slot = 0; slot < 64; ++slot) {
    if (bits & (uint64_t{1} << slot)) said.push_back(slot);
  }
}

void restore_body(const body_state& b, const fight_content& content, lifeform& l) {
  l.vx = b.vx;
  l.vy = b.vy;
  l.ax = b.ax;
  l.ay = b.ay;
  l.speed = b.speed;
  l.scale = b.scale;
  restore_missing_said(b.missing_moves_said, l.missing_move_said);
  l.id = b.id;
  l.source_entry = b.source_entry;
  l.source_weapon = b.source_weapon;
  l.source_stream = b.source_stream;
  l.hp = b.hp;
  l.max_hp = b.max_hp;
  l.x = b.x;
  l.y = b.y;
  l.height = b.height;
  l.width = b.width;
  l.damage = b.damage;
  l.target = b.target;
  l.team = b.team;
  l.facing = b.facing;
  l.state = b.state;
  l.edge_death = b.edge_death;
  l.kind = b.kind;
  l.age = b.age;
  l.path_step = b.path_step;
  l.action = b.action;
  l.gauge_count = b.gauge_count;
  l.alpha = b.alpha;
  l.combo_shown = b.combo_shown;
  l.combo_shown_until = b.combo_shown_until;
  std::memcpy(l.stream_cooldowns, b.stream_cooldowns, sizeof l.stream_cooldowns);
  restore_plays(b, content, l);
  if (b.has_path && l.path) restore_path(b.path, *l.path);
  if (l.kind != kind_fighter && !l.moves.empty() && l.moves[0]) {
    l.moves[0]->max_width = b.own_move_size[0];
    l.moves[0]->max_height = b.own_move_size[1];
  }
}

// A bullet as spawn_bullet makes it, or a weapon's shot as fire_weapon does,
// without the lines those print: the fields come from the state after.
std::unique_ptr<lifeform> build_projectile(const body_state& b, const fight_content& content) {
  const lifeform& shooter = *content.fighters[b.source_entry];
  std::unique_ptr<lifeform> p = std::make_unique<lifeform>();
  if (b.source_weapon >= 0) {
    img_mgr* picture = shooter.weapons[b.source_weapon].streams[b.source_stream].image.get();
    p->images.push_back(picture);
    p->images.push_back(picture);
    return p;
  }
  p->moves.assign(15, nullptr);
  if (img_mgr* stored = image_cache.find(bullet_image_name)) {
    private_image copy = copy_private(stored);
    if (copy) {
      p->images.push_back(copy.get());
      p->owned_images.push_back(std::move(copy));
    }
  }
  const move* source = static_cast<size_t>(projectile_move_slot) < shooter.moves.size()
                           ? shooter.moves[projectile_move_slot]
                           : nullptr;
  if (source) {
    move* m = p->adopt_move(copy_move(*source));
    p->moves[14] = m;
    p->moves[1] = m;
    p->moves[0] = m;
  }
  p->give_path(std::make_unique<path>());
  p->path->add_step(mode_straight);
  return p;
}

bool same_source(const lifeform& l, const body_state& b) {
  return l.source_entry == b.source_entry && l.source_weapon == b.source_weapon &&
         l.source_stream == b.source_stream;
}

void keep_spare(fight_content& content, lifeform* l) {
  if (!l) return;
  if (content.spares.size() >= max_spares) {
    delete l;
    return;
  }
  content.spares.emplace_back(l);
}

lifeform* projectile_for(const body_state& b, fight_content& content) {
  for (size_t i = content.spares.size(); i-- > 0;) {
    if (!same_source(*content.spares[i], b)) continue;
    lifeform* l = content.spares[i].release();
    content.spares.erase(content.spares.begin() + static_cast<long>(i));
    return l;
  }
  return build_projectile(b, content).release();
}

void restore_projectiles(const fight_state& in, fight_content& content) {
  const size_t wanted = 2 + static_cast<size_t>(in.projectile_count);
  for (size_t k = 2; k < lifeform_list.size(); ++k) {
    if (k >= wanted || !lifeform_list[k] || !same_source(*lifeform_list[k], in.projectiles[k - 2])) {
      keep_spare(content, lifeform_list[k]);
      lifeform_list[k] = nullptr;
    }
  }
  if (lifeform_list.size() > wanted) lifeform_list.resize(wanted);
  while (lifeform_list.size() < wanted) lifeform_list.push_back(nullptr);
  for (size_t k = 2; k < wanted; ++k) {
    const body_state& b = in.projectiles[k - 2];
    if (!lifeform_list[k]) lifeform_list[k] = projectile_for(b, content);
    restore_body(b, content, *lifeform_list[k]);
  }
}

}  // namespace

fight_content::fight_content() {
  for (int k = 0; k < 2; ++k) {
    fighters[k] = lifeform_at(k);
    if (!fighters[k]) continue;
    for (const move* m : fighters[k]->moves) {
      if (!m) continue;
      for (const counted_ptr<animation>& a : m->animations) {
        if (a.get() && animation_id(a.get()) < 0) animations.push_back(a.get());
      }
    }
  }
}

fight_content::~fight_content() = default;

int fight_content::animation_id(const animation* a) const {
  for (size_t i = 0; i < animations.size(); ++i) {
    if (animations[i] == a) return static_cast<int>(i);
  }
  return -1;
}

bool save_fight_state(fight_state& out, const fight_content& content, const match_state* match) {
  std::memset(static_cast<void*>(&out), 0, sizeof out);
  out.frame = fight_frame();
  out.random = recordable_random_state();
  out.clock_ms = fight_clock_ms();  // not the seam: a replay counts its readings
  out.next_lifeform_id = next_lifeform_id;

  for (int k = 0; k < 2; ++k) {
    const lifeform* l = lifeform_at(k);
    if (!l) break;
    if (l != content.fighters[k]) return false;
    out.fighter_count = k + 1;
    if (!save_body(*l, content, out.fighters[k])) return false;
    save_weapons(*l, out.weapons[k]);
    if (!save_move_sizes(*l, out.move_sizes[k])) return false;
    if (l->path && !save_recognizer(l->path->recognizer, out.recognizers[k])) return false;
  }
  for (size_t k = 2; k < lifeform_list.size(); ++k) {
    const lifeform* l = lifeform_list[k];
    if (!l || out.projectile_count >= max_state_projectiles || !rebuildable(*l, content)) return false;
    if (!save_body(*l, content, out.projectiles[out.projectile_count++])) return false;
  }

  out.has_stage = g_level != nullptr;
  if (g_level) {
    stage_state& s = out.stage;
    s.zoom = g_level->zoom;
    s.scroll_x = g_level->scroll_x;
    s.scroll_y = g_level->scroll_y;
    s.shake = g_level->shake;
    s.flash = g_level->flash;
    s.flash_rate = g_level->flash_rate;
    s.flash_shown = g_level->flash_shown;
    s.fill_uncovered = g_level->fill_uncovered;
  }
  out.has_match = match != nullptr;
  if (match) {
    match_snapshot& m = out.match;
    m.clock_frames = match->clock_frames;
    m.phase = static_cast<int32_t>(match->phase);
    m.round = match->round;
    m.wins[0] = match->wins[0];
    m.wins[1] = match->wins[1];
    m.phase_frames = match->phase_frames;
    m.round_winner = match->round_winner;
    m.by_time = match->by_time;
    m.match_winner = match->match_winner;
    m.match_drawn = match->match_drawn;
    m.laid_down[0] = match->laid_down[0];
    m.laid_down[1] = match->laid_down[1];
  }
  return true;
}

void restore_fight_state(const fight_state& in, fight_content& content, match_state* match) {
  set_fight_frame(in.frame);
  set_recordable_random_state(in.random);

  for (int k = 0; k < in.fighter_count; ++k) {
    lifeform* l = lifeform_at(k);
    if (!l) continue;
    restore_body(in.fighters[k], content, *l);
    restore_weapons(in.weapons[k], *l);
    restore_move_sizes(in.move_sizes[k], *l);
    if (l->path) restore_recognizer(in.recognizers[k], l->path->recognizer);
  }
  if (lifeform_list.size() >= 2) restore_projectiles(in, content);
  next_lifeform_id = in.next_lifeform_id;  // after the rebuilt projectiles took theirs

  if (g_level && in.has_stage) {
    const stage_state& s = in.stage;
    g_level->zoom = s.zoom;
    g_level->scroll_x = s.scroll_x;
    g_level->scroll_y = s.scroll_y;
    g_level->shake = s.shake;
    g_level->flash = s.flash;
    g_level->flash_rate = s.flash_rate;
    g_level->flash_shown = s.flash_shown;
    g_level->fill_uncovered = s.fill_uncovered != 0;
  }
  if (match && in.has_match) {
    const match_snapshot& m = in.match;
    match->clock_frames = m.clock_frames;
    match->phase = static_cast<match_phase>(m.phase);
    match->round = m.round;
    match->wins[0] = m.wins[0];
    match->wins[1] = m.wins[1];
    match->phase_frames = m.phase_frames;
    match->round_winner = m.round_winner;
    match->by_time = m.by_time != 0;
    match->match_winner = m.match_winner;
    match->match_drawn = m.match_drawn != 0;
    match->laid_down[0] = m.laid_down[0] != 0;
    match->laid_down[1] = m.laid_down[1] != 0;
  }
}

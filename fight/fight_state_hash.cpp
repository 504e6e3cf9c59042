#include "fight/fight_state_hash.h"

#include <cstdint>

#include "anim/animation.h"
#include "fight/fight_state.h"
#include "fight/match.h"
#include "fighter/combo.h"
#include "fighter/lifeform.h"
#include "fighter/path.h"
#include "stage/level.h"

namespace {

// 64-bit FNV-1a over each value widened to 64 bits, so the same state hashes
// the same whatever the fields' types.
struct hasher {
  uint64_t h = 1469598103934665603ULL;
  void bytes(const void* p, size_t n) {
    const unsigned char* c = static_cast<const unsigned char*>(p);
    for (size_t i = 0; i < n; ++i) h = (h ^ c[i]) * 1099511628211ULL;
  }
  void add(int64_t v) { bytes(&v, sizeof v); }
  void add(double v) { bytes(&v, sizeof v); }
  void add(int32_t v) { add(static_cast<int64_t>(v)); }
  void add(uint32_t v) { add(static_cast<int64_t>(v)); }
  void add(bool v) { add(static_cast<int64_t>(v ? 1 : 0)); }
};

void add_recognizer(hasher& h, const combo_recognizer& r) {
  h.add(r.now);
  h.add(r.maxkeep);
  h.add(static_cast<int64_t>(r.history.size()));
  for (const key_event& e : r.history) {
    h.add(e.key);
    h.add(e.time);
    h.add(e.state);
  }
  for (const watched_key& w : r.watched) h.add(w.last_state);
  h.add(static_cast<int64_t>(r.attempts.size()));
  for (const combo_attempt& a : r.attempts) {
    h.add(static_cast<int64_t>(a.which && r.combos ? a.which - r.combos->data() : -1));
    h.add(a.step_index);
    h.add(a.deadline);
    h.add(a.last_match);
    h.add(a.from_keys);
    h.add(a.started);
  }
}

// A projectile the opponent remembers, by its place in the list: ids count
// every lifeform made, pictures and set-up included.
int64_t list_index(int32_t id) {
  if (id == no_lifeform_id) return -1;
  for (size_t i = 0; i < lifeform_list.size(); ++i) {
    if (lifeform_list[i] && lifeform_list[i]->id == id) return static_cast<int64_t>(i);
  }
  return -2;
}

void add_memory(hasher& h, const computer_memory& m) {
  h.add(m.level);
  h.add(m.in_reach);
  h.add(m.chance_at);
  h.add(m.has_fired_special);
  h.add(m.last_special_at);
  h.add(list_index(m.judged_projectile));
  h.add(m.evading);
  h.add(m.opponent_attacking);
  h.add(m.guarding_close);
  h.add(m.hand_to_hand);
}

void add_path(hasher& h, const path& p) {
  h.add(p.step_index);
  h.add(p.ai_decision);
  h.add(p.player);
  h.add(static_cast<int64_t>(p.actions));
  add_recognizer(h, p.recognizer);
  add_memory(h, p.ai);
}

// Which of its moves' animations a play shows: move slot and place in the
// move, -1 for an animation of no move.
int64_t animation_index(const lifeform& l, const animation* a) {
  for (size_t slot = 0; slot < l.moves.size(); ++slot) {
    const move* m = l.moves[slot];
    if (!m) continue;
    for (size_t j = 0; j < m->animations.size(); ++j) {
      if (m->animations[j].get() == a) return static_cast<int64_t>(slot * 1000 + j);
    }
  }
  return -1;
}

void add_lifeform(hasher& h, const lifeform& l) {
  h.add(l.hp);
  h.add(l.max_hp);
  h.add(l.x);
  h.add(l.y);
  h.add(l.width);
  h.add(l.height);
  h.add(l.vx);
  h.add(l.vy);
  h.add(l.ax);
  h.add(l.ay);
  h.add(l.speed);
  h.add(l.damage);
  h.add(l.target);
  h.add(l.team);
  h.add(l.facing);
  h.add(l.state);
  h.add(l.edge_death);
  h.add(l.kind);
  h.add(l.age);
  h.add(l.path_step);
  h.add(l.action);
  h.add(l.gauge_count);
  h.add(l.scale);
  h.add(l.alpha);
  h.add(l.combo_shown);
  h.add(l.combo_shown_until);
  for (const auto& weapon : l.stream_cooldowns) {
    for (int32_t c : weapon) h.add(c);
  }
  for (const weapon& w : l.weapons) {
    h.add(w.disabled);
    for (const stream& s : w.streams) h.add(s.reload_counter);
  }
  if (l.anim_stack) {
    h.add(static_cast<int64_t>(l.anim_stack->plays.size()));
    for (const anim_play* p : l.anim_stack->plays) {
      h.add(animation_index(l, p->animation));
      h.add(p->x);
      h.add(p->y);
      h.add(static_cast<int64_t>(p->index));
      h.add(p->countdown);
      h.add(p->active);
      h.add(p->loop);
    }
  }
  h.add(l.path != nullptr);
  if (l.path) add_path(h, *l.path);
}

void add_match(hasher& h, const match_state& m) {
  h.add(static_cast<int64_t>(m.phase));
  h.add(m.round);
  h.add(m.wins[0]);
  h.add(m.wins[1]);
  h.add(m.phase_frames);
  h.add(static_cast<int64_t>(m.clock_frames));
  h.add(m.round_winner);
  h.add(m.by_time);
  h.add(m.match_winner);
  h.add(m.match_drawn);
}

}  // namespace

unsigned long long fight_state_hash(const fight_state& state) {
  hasher h;
  h.bytes(&state, sizeof state);
  return h.h;
}

unsigned long long fight_state_hash(unsigned long long random_state, const level* stage, const match_state* match) {
  hasher h;
  h.add(static_cast<int64_t>(random_state));
  h.add(static_cast<int64_t>(lifeform_list.size()));
  for (const lifeform* l : lifeform_list) {
    h.add(l != nullptr);
    if (l) add_lifeform(h, *l);
  }
  h.add(stage != nullptr);
  if (stage) {
    h.add(stage->shake);
    h.add(stage->flash);
    h.add(stage->flash_rate);
    h.add(stage->scroll_x);
    h.add(stage->scroll_y);
    h.add(stage->zoom);
  }
  h.add(match != nullptr);
  if (match) add_match(h, *match);
  return h.h;
}

// Mode 6 of a path: the computer opponent. It presses the same "buttons" a
// human does (velocity, attack request) or hands its recogniser a finished combo.
#include <cstdlib>

#include "core/log.h"
#include "core/seams.h"
#include "anim/animation.h"
#include "fighter/computer_difficulty.h"
#include "fighter/lifeform.h"
#include "fighter/path.h"
#include "stage/level.h"

namespace {

// Weight names by index in ai_weights.
constexpr int block_weight = 0;
constexpr int attack_range = 2;
constexpr int jump_weight = 3;
constexpr int duck_weight = 4;
constexpr int approach_weight = 5;

// A weight sum of 0 or less would divide by zero; one roll of 0 is then used.
int roll_below(int total) { return total > 0 ? game_rand() % total : 0; }

// How far ahead (pixels) a set-level opponent watches for shots: a bullet
// covers 40 a frame, so this is about eight frames of warning.
constexpr int projectile_lookahead = 320;

const lifeform* own_fighter(const path* p) {
  for (const lifeform* l : lifeform_list) {
    if (l && l->path == p && l->kind != 3) return l;
  }
  return nullptr;
}

// The nearest live shot of the other side flying at `me` and due within the
// lookahead; null when none.
const lifeform* incoming_projectile(const lifeform& me) {
  const lifeform* nearest = nullptr;
  int nearest_gap = projectile_lookahead + 1;
  for (const lifeform* p : lifeform_list) {
    if (!p || p == &me || p->kind != 3 || !p->alive() || p->team == me.team) continue;
    if (p->y >= me.y + me.height || p->y + p->height <= me.y) continue;  // passes above or below
    int gap;
    if (p->ax > 0) {
      gap = me.x - (p->x + p->width);
    } else if (p->ax < 0) {
      gap = p->x - (me.x + me.width);
    } else {
      continue;
    }
    // A shot already overlapping (gap down to minus its width) still counts.
    if (gap < -p->width || gap > projectile_lookahead) continue;
    if (gap < nearest_gap) {
      nearest_gap = gap;
      nearest = p;
    }
  }
  return nearest;
}

// Horizontal gap between two boxes; negative when they overlap.
int box_gap(const lifeform& a, const lifeform& b) {
  return a.x < b.x ? b.x - (a.x + a.width) : a.x - (b.x + b.width);
}

// Boxes this close (pixels) are at close quarters: a blow can land.
constexpr int close_quarters = 40;
constexpr int touching = 2;  // boxes this close meet on screen once zoomed
constexpr int attacking_posture = 4;  // lifeform::state while a blow plays
constexpr int special_type = 2;       // the combotype that fires a shot

// True when the fighter has a special worth firing from a distance: a combo
// performs it and its move launches a projectile on some frame.
bool special_shoots(const lifeform& me, const combo_recognizer& recognizer) {
  if (!recognizer.combos) return false;
  bool performed = false;
  for (const combo& c : *recognizer.combos) performed = performed || c.combotype == special_type;
  if (!performed || static_cast<size_t>(slot_combo_special) >= me.moves.size() || !me.moves[slot_combo_special]) {
    return false;
  }
  for (const counted_ptr<animation>& a : me.moves[slot_combo_special]->animations) {
    if (!a.get()) continue;
    for (const animation_frame& f : a.get()->frames) {
      if (f.fire != 0) return true;
    }
  }
  return false;
}

}  // namespace

bool path::opponent_in_reach() const {
  // An opponent index outside the list is never read: out of reach.
  if (target < 0 || static_cast<size_t>(target) >= lifeform_list.size() || !lifeform_list[target]) return false;
  const int distance = std::abs(lifeform_list[target]->x - x);
  const int level_width = g_level ? g_level->max_width : 0;
  return distance < ai_weights[attack_range] * level_width / 100;
}

// A chance begins when the opponent comes within attack range; a set-level
// opponent lets its reaction time pass before it answers with any attack.
bool path::ready_to_attack(const difficulty_profile& profile, uint32_t now) const {
  return !ai.in_reach || now - ai.chance_at >= profile.reaction_ms;
}

bool path::special_due(const difficulty_profile& profile, uint32_t now) const {
  return !ai.has_fired_special || now - ai.last_special_at >= profile.special_gap_ms;
}

// A set level keeps only its share of block decisions; the rest stand still.
void path::filter_block(const difficulty_profile& profile) {
  if (ai_decision != 0 || profile.block_percent >= 100) return;
  if (profile.block_percent <= 0 || game_rand() % 100 >= profile.block_percent) ai_decision = 5;
}

// At close quarters a set-level opponent fights on its own terms: it guards
// against the opponent's blows (one roll per attack, from level 2). One whose
// special launches a projectile steps out of contact when it can and fires
// from just out of contact when one is due; one whose special launches
// nothing steps in and strikes once its reaction time has passed. True when
// it took charge of this frame.
bool path::fight_close(const difficulty_profile& profile, double toward, uint32_t now) {
  if (profile.close_guard_percent <= 0 && !ai.hand_to_hand) return false;
  const lifeform* me = own_fighter(this);
  if (!me || target < 0 || static_cast<size_t>(target) >= lifeform_list.size() || !lifeform_list[target]) return false;
  const lifeform& them = *lifeform_list[target];
  const int gap = box_gap(*me, them);
  if (me->ay != 0.0 || gap > close_quarters) {
    ai.opponent_attacking = false;
    return false;
  }
  const bool attacking = them.state == attacking_posture;
  if (attacking && !ai.opponent_attacking) {
    ai.guarding_close = profile.close_guard_percent > 0 && game_rand() % 100 < profile.close_guard_percent;
  }
  ai.opponent_attacking = attacking;
  primary_trigger = -1;
  vy = 0.0;
  if (ai.hand_to_hand) {
    if (attacking && ai.guarding_close) {
      vx = -toward;  // the guard
    } else if (gap > touching) {
      vx = toward;  // into contact: a blow lands only there
    } else {
      vx = 0.0;
      if (ready_to_attack(profile, now)) {
        primary_trigger = (game_rand() % 4) % 2 == 0 ? 0 : 3;
        aim_x = 0.0;
        aim_y = -1.0;
      }
    }
  } else if (attacking && !ai.guarding_close) {
    vx = 0.0;  // caught flat-footed
  } else if (attacking || gap <= touching) {
    vx = -toward;  // guard, and out of contact when not pinned
  } else {
    vx = 0.0;
    if (ready_to_attack(profile, now)) perform_combo_of_type(special_type, profile, now);
  }
  if (ai_decision == 4) ai_decision = -1;
  return true;
}

// Hands the recogniser a finished combo of `type` when the special gap allows;
// false when it can't.
bool path::perform_combo_of_type(int type, const difficulty_profile& profile, uint32_t now) {
  if (!recognizer.combos || !special_due(profile, now)) return false;
  for (combo& c : *recognizer.combos) {
    if (c.combotype != type) continue;
    recognizer.add_attempt(combo_attempt{&c, c.reqkeys(), now + 1, 0});
    ai.has_fired_special = true;
    ai.last_special_at = now;
    return true;
  }
  return false;
}

// Guards against or jumps a shot it sees coming, once it has decided to (one
// roll per shot).
void path::evade_projectiles(const difficulty_profile& profile, double toward) {
  const lifeform* me = own_fighter(this);
  const lifeform* shot = me ? incoming_projectile(*me) : nullptr;
  if (!shot) {
    ai.judged_projectile = no_lifeform_id;
    return;
  }
  if (shot->id != ai.judged_projectile) {
    ai.judged_projectile = shot->id;
    ai.evading = game_rand() % 100 < profile.dodge_percent;
  }
  if (!ai.evading || me->ay != 0.0) return;  // in the air there is nothing more to do
  primary_trigger = -1;
  if (profile.guards_projectiles) {
    vx = -toward;  // stepping away from the opponent is the guard
    vy = 0.0;
  } else {
    vx = 0.0;
    vy = -1.0;
  }
}

void path::run_computer_opponent() {
  const int level = ai.level >= 0 ? ai.level : computer_difficulty();
  const difficulty_profile profile = profile_for(level);
  const uint32_t now = level > 0 ? game_ticks() : 0;
  if (level > 0) {
    // A fighter with nothing to fire has a chance only at close quarters.
    const lifeform* me = own_fighter(this);
    ai.hand_to_hand = me && !special_shoots(*me, recognizer);
    const lifeform* them = target >= 0 && static_cast<size_t>(target) < lifeform_list.size() ? lifeform_list[target] : nullptr;
    const bool in_reach = ai.hand_to_hand ? them && box_gap(*me, *them) <= close_quarters : opponent_in_reach();
    if (in_reach && !ai.in_reach) ai.chance_at = now;
    ai.in_reach = in_reach;
  }

  const int w0 = ai_weights[block_weight];
  const int w3 = ai_weights[jump_weight];
  const int w4 = ai_weights[duck_weight];
  const int w5 = ai_weights[approach_weight];

  if (game_rand() % 100 > 95) {
    log_out("AI Changing mind\n");
    ai_decision = -1;
  }
  if (ai_decision == 2) ai_decision = -2;

  if (ai_decision == -2) {
    const int total = w5 + w0 + 100;
    const int roll = roll_below(total);
    const int a = w0;
    const int b = w0 + w5;
    int result = -2;
    if (roll <= a) {
      result = 0;
    } else if (roll <= b) {
      result = 1;
    }
    ai_decision = result;
    log_out("Jump AI Selects [%d/%d] [%d-%d]=[%d]\n", roll, total, a, b, result);
    if (level > 0) filter_block(profile);
  }

  if (ai_decision == -1) {
    const int max = w5 + 2 * w0 + 100 + w4 + w3;
    const int roll = roll_below(max);
    log_out("max[%d] smode[%d]\n", max, roll);
    const int a = w0;
    const int t1 = w0 + w5;
    const int t2 = t1 + w3;
    const int t3 = t2 + w4;
    const int t4 = t3 + 100;
    int decision = 5;
    if (roll <= a) {
      decision = 0;
    } else if (roll <= t1) {
      decision = 1;
    } else if (roll <= t2) {
      decision = 2;
    } else if (roll <= t3) {
      decision = 3;
    } else if (roll <= t4) {
      decision = 4;
    }
    ai_decision = decision;
    log_out("AI Selects [%d/%d] [%d-%d-%d-%d-%d]=[%d]\n", roll, max, a, t1, t2, t3, t4, decision);
    if (level > 0) filter_block(profile);
  }

  const double d = facing == 1 ? 1.0 : -1.0;
  const bool took_charge = level > 0 && fight_close(profile, d, now);
  if (!took_charge) act_on_decision(level, profile, now, d);
  if (level > 0) evade_projectiles(profile, d);
}

// `d` is +1 facing right, -1 facing left.
void path::act_on_decision(int level, const difficulty_profile& profile, uint32_t now, double d) {
  if (level > 0 && ai.hand_to_hand && (ai_decision == 0 || ai_decision == 5)) {
    // Out of contact, stepping back or standing is no guard against anything
    // that can reach it: a fighter that can only strike closes in.
    primary_trigger = -1;
    vx = d;
    return;
  }
  switch (ai_decision) {
    case 0:  // blocking: step away from the opponent
      vx = -d;
      break;
    case 1: {
      if (level > 0 && ai.hand_to_hand) {
        vx = d;  // only contact hurts: close quarters take over from there
        break;
      }
      if (opponent_in_reach()) {
        if (level > 0 && !ready_to_attack(profile, now)) {
          vx = 0.0;  // still taking it in
          break;
        }
        primary_trigger = (game_rand() % 4) % 2 == 0 ? 0 : 3;
        aim_x = 0.0;
        aim_y = -1.0;
      } else {
        vx = d;
      }
      break;
    }
    case 2:
      vy = -1.0;
      break;
    case 3:
      vy = 1.0;
      break;
    case 4:
      if (level > 0 && ai.hand_to_hand) {
        ai_decision = 1;  // a special that launches nothing is no attack from here: close in
        vx = d;
        break;
      }
      if (level > 0 && (!ready_to_attack(profile, now) || !special_due(profile, now))) {
        ai_decision = -1;  // too soon: think again next frame
        break;
      }
      if (recognizer.combos && !recognizer.combos->empty()) {
        ai.has_fired_special = true;
        ai.last_special_at = now;
        const int i = game_rand() % static_cast<int>(recognizer.combos->size());
        combo& picked = (*recognizer.combos)[i];
        recognizer.add_attempt(combo_attempt{&picked, picked.reqkeys(), game_ticks() + 1, 0});
      }
      ai_decision = -1;
      break;
    default:  // nothing
      primary_trigger = -1;
      vx = 0.0;
      vy = 0.0;
      break;
  }
}

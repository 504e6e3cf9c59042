#include "fight/object_step.h"

#include <cmath>

#include "core/log.h"
#include "core/safe_trunc.h"
#include "core/seams.h"
#include "fight/body_push.h"
#include "fight/fight_host.h"
#include "fight/fight_options.h"
#include "fighter/lifeform.h"
#include "fighter/path.h"
#include "stage/level.h"

namespace {

constexpr Uint32 combo_shown_ms = 1000;  // long enough to read

bool stack_empty(const lifeform& l) { return !l.anim_stack || l.anim_stack->empty(); }


// Posture while a special animation plays, by its action code.
void posture_from_action(lifeform& l) {
  switch (l.action) {
    case -1:
    case 2:
      l.state = posture_standing;
      break;
    case 0:
    case 3:
    case 4:
      l.state = posture_attacking;
      break;
    case 1:
      l.state = posture_hit;
      break;
    default:
      break;  // no such action: the derived posture stands
  }
}

void request_attack(lifeform& l) {
  if (!l.path || l.path->primary_trigger == -1 || !stack_empty(l)) return;
  int slot = l.path->primary_trigger;
  if (l.state == posture_crouching) {
    if (slot == slot_punch) slot = slot_crouch_punch;
    if (slot == slot_kick) slot = slot_crouch_kick;
  } else if (l.state == posture_airborne) {
    if (slot == slot_punch) slot = slot_air_punch;
    if (slot == slot_kick) slot = slot_air_kick;
  }
  l.start_move(slot, action_attack);  // a missing move is said once and skipped
}

// Combos 2 and 3: replace whatever plays by the move in `slot`, unless it
// already plays.
void start_combo_move(lifeform& l, int slot, int new_action) {
  if (!stack_empty(l) && !playing_move(l, slot)) l.clear_anim_stack();
  if (stack_empty(l) && l.move_at(slot)) l.start_move(slot, new_action);
}

void play_combo(lifeform& l, int k) {
  if (!l.path) return;
  const int n = l.path->recognizer.poll();
  if (n == -1) return;
  fight_host& host = current_fight_host();
  if (host.fight_tracing()) log_err("fight trace: frame [%ld] entry [%d] combo [%d]\n", host.presented_frames(), k, n);
  // Shown above the fighter from this frame's draw on, until expire_combo_text.
  l.combo_shown = n;
  l.combo_shown_until = game_ticks() + combo_shown_ms;
  if (n == 1) {
    l.ay -= 1.1;
  } else if (n == 2) {
    start_combo_move(l, slot_combo_special, 2);
  } else if (n == 3) {
    start_combo_move(l, slot_dash, l.facing == 1 ? action_dash_right : action_dash_left);
  }
}

// Whichever fighter attacks stops (unless dashing) and pins a blocking opponent.
void two_fighter_rule(lifeform& attacker, lifeform& other) {
  if (attacker.state != posture_attacking) return;
  if (attacker.action != 3 && attacker.action != 4) attacker.vx = 0.0;
  if (other.state == posture_blocking) {
    other.state = posture_block_struck;
    other.vx = 0.0;
  }
}

}  // namespace

bool on_floor(const lifeform& l) { return l.y + l.height == fight_screen_height(); }

bool playing_move(const lifeform& l, int slot) {
  if (slot < 0 || static_cast<size_t>(slot) >= l.moves.size() || !l.moves[slot]) return false;
  if (stack_empty(l) || !l.anim_stack->plays[0]) return false;
  const move& m = *l.moves[slot];
  if (m.animations.empty()) return false;
  return l.anim_stack->plays[0]->animation == m.animations[0].get();
}

double held_right_limit(const lifeform& l) {
  // Fighters are held inside the level's width in world units; a scale of 0
  // (bad data) counts as 1 rather than pushing the limit to infinity.
  const int level_width = g_level ? g_level->max_width : 0;
  const double scale = g_level && g_level->scale != 0.0 ? g_level->scale : 1.0;
  return level_width / scale - l.width;
}

void movement_step(lifeform& l, int ticks) {
  if (l.speed != 0.0) {
    const double f = l.kind > 0 ? ticks * 4.0 : ticks;
    l.vx += l.ax;
    l.vy += l.ay;
    l.x = trunc_to_int(l.x + std::trunc(f * l.vx / l.speed));
    l.y = trunc_to_int(l.y + std::trunc(f * l.vy / l.speed));
  }
  const int floor_y = fight_screen_height() - l.height;
  const int level_width = g_level ? g_level->max_width : 0;

  if (l.edge_death != 0) {
    if (l.x < 0) { l.x = 0; l.hp = -1; l.vx = 0.0; }
    if (l.y < 0) { l.y = 0; l.hp = -1; l.vy = 0.0; }
    if (l.x > level_width - l.width) { l.x = level_width - l.width; l.hp = -1; l.vx = 0.0; }
    if (l.y > floor_y) { l.y = floor_y; l.hp = -1; l.vy = 0.0; }
    return;
  }
  if (l.x < 0) { l.x = 0; l.vx = 0.0; }
  if (l.y < 0) { l.y = 0; l.vy = 0.0; }
  const double right_limit = held_right_limit(l);
  if (l.x > right_limit) { l.x = trunc_to_int(right_limit); l.vx = 0.0; }
  if (l.y > floor_y) { l.y = floor_y; l.vy = 0.0; }
}

void begin_lifeform_step(lifeform& l, int k, frame_effect_sink& effects) {
  l.vy = 0.0;
  l.vx = 0.0;
  l.state = posture_standing;
  l.steer(effects);

  if (l.vy > 0 && l.ay == 0) l.state = posture_crouching;
  if (l.ay != 0) l.state = posture_airborne;

  request_attack(l);
  play_combo(l, k);
  if (!stack_empty(l)) posture_from_action(l);
}

bool dash_speed_up(lifeform& l) {
  if (stack_empty(l) || !playing_move(l, slot_dash)) return false;
  l.vx += l.action == action_dash_right ? 3.0 : -3.0;
  return true;
}

void end_lifeform_step(lifeform& l, int k) {
  const bool fighter = k == 0 || k == 1;

  if (l.state == posture_crouching) l.vx = 0.0;
  if ((l.facing == 0 && l.vx > 0) || (l.facing == 1 && l.vx < 0)) l.state = posture_blocking;
  if (l.action == action_combo_special) l.vx = 0.0;

  // Jump from the floor; rise (no steering in the air); land once falling.
  if (l.vy < 0 && on_floor(l)) {
    l.ay = -12.0;
    l.ax = l.vx;
  }
  if (l.ay < 0) {
    l.ay += 0.25;
    l.vx = 0.0;
  }
  if (l.ay > -6 && l.ay < 0 && on_floor(l)) {
    l.ay = 0.0;
    l.ax = 0.0;
  }
  if (fighter) l.vy += 9.0;

  lifeform* first = lifeform_at(0);
  lifeform* second = lifeform_at(1);
  if (first && second) {
    two_fighter_rule(*first, *second);
    two_fighter_rule(*second, *first);
  }

  movement_step(l, 1);
  if (fighter && current_fight_options().push_apart) push_fighters_apart();
}

void expire_combo_text(lifeform& l) {
  if (l.combo_shown != -1 && game_ticks() >= l.combo_shown_until) l.combo_shown = -1;
}

#include "app/training/frame_data.h"

#include <cstdio>
#include <memory>

#include "anim/frame_effects.h"
#include "core/seams.h"
#include "fight/fight_camera.h"
#include "fight/fight_cleanup.h"
#include "fight/fight_host.h"
#include "fight/hit_detection.h"
#include "fight/object_step.h"
#include "fighter/lifeform.h"
#include "fighter/path.h"
#include "stage/level.h"

namespace {

// Long enough for any bundled move and its aftermath; a looping move that
// never ends stops being measured here.
constexpr int longest_measure = 600;

struct slot_name {
  int slot;
  const char* name;
};
const slot_name attack_names[] = {
    {slot_punch, "Punch"},          {slot_kick, "Kick"},
    {4, "Extra attack 1"},          {5, "Extra attack 2"},
    {slot_crouch_punch, "Crouch punch"}, {slot_crouch_kick, "Crouch kick"},
    {slot_combo_special, "Special move"}, {slot_dash, "Dash"},
};
// Started in the air: shown by name, not measured.
const slot_name air_attack_names[] = {{slot_air_punch, "Air punch"}, {slot_air_kick, "Air kick"}};

// The fight's screen, but no outlines of the boxes compared and no trace
// lines: the measuring is not part of the fight shown.
class measuring_host : public fight_host {
 public:
  explicit measuring_host(fight_host& outer) : outer_(outer) {}
  bool screen_size(int& w, int& h) const override { return outer_.screen_size(w, h); }

 private:
  fight_host& outer_;
};

// The action a move starts with, as the fight's step gives it.
int32_t action_for(int slot, int facing) {
  if (slot == slot_combo_special) return action_combo_special;
  if (slot == slot_dash) return facing == 1 ? action_dash_right : action_dash_left;
  return action_attack;
}

// The measuring has a clock of its own: the combo recognisers it steps would
// read the run's, and a kept run records every reading.
Uint32 measuring_clock() { return 0; }

bool stack_empty(const lifeform& l) { return !l.anim_stack || l.anim_stack->empty(); }

void stand_fresh(lifeform& l, int x) {
  l.hp = l.max_hp;
  l.clear_anim_stack();
  l.action = action_none;
  l.state = posture_standing;
  l.size_from_first_image();
  l.vx = l.vy = l.ax = l.ay = 0.0;
  l.x = x;
  l.y = fight_screen_height() - l.height;
  l.age = 0;
}

// Whether `attacker`'s blow, as the next hit resolution will see it, is over `defender`.
bool blow_touches(lifeform& attacker, lifeform& defender) {
  if (attacker.state == posture_attacking && overlap_test(attacker, defender)) return true;
  for (size_t k = 2; k < lifeform_list.size(); ++k) {
    lifeform* p = lifeform_list[k];
    if (p && p->alive() && p->kind == kind_projectile && p->team == attacker.team && overlap_test(*p, defender)) {
      return true;
    }
  }
  return false;
}

struct measured_run {
  int first_touch = 0, last_touch = 0, touches = 0;  // frame numbers, and the count
  int contact = 0;         // frame the blow first touched or took health
  bool hurt = false;       // the defender's hit reaction started: not guarded
  int attacker_free = 0;   // first frame after 1 the attacker could start an attack
  int defender_free = 0;   // first frame from the contact on the defender could
};

// One playing-out of the move in `slot`: the defender (entry 0) stands in
// reach of the attacker (entry 1), or holds back to guard when `guard`.
measured_run play_out(lifeform& attacker, lifeform& defender, int slot, bool guard) {
  const int centre = g_level && g_level->scale != 0.0 ? static_cast<int>(0.5 * g_level->max_width / g_level->scale) : 0;
  stand_fresh(attacker, centre - attacker.width / 2);
  stand_fresh(defender, attacker.x + attacker.width / 2);
  attacker.facing = 1;
  defender.facing = 0;
  measured_run run;
  for (int f = 1; f <= longest_measure; ++f) {
    face_each_other(defender, attacker);
    if (f > 1 && blow_touches(attacker, defender)) {
      if (!run.first_touch) run.first_touch = f;
      run.last_touch = f;
      ++run.touches;
    }
    const int hp_before = defender.hp;
    body_contact();
    projectile_hits();
    if (!run.contact && (defender.hp < hp_before || run.first_touch)) run.contact = f;
    if (defender.action == action_hit) run.hurt = true;
    if (run.contact && !run.defender_free && f >= run.contact && stack_empty(defender)) run.defender_free = f;
    if (f > 1 && !run.attacker_free && stack_empty(attacker)) run.attacker_free = f;
    if (run.attacker_free && (run.defender_free || (f > run.attacker_free && !run.contact))) break;

    // Away from the attacker: the fight's step turns that into guarding.
    defender.path->actions = guard ? (defender.facing == 1 ? action_left : action_right) : 0;
    attacker.path->actions = 0;
    for (int k = 0; k < static_cast<int>(lifeform_list.size()); ++k) {
      lifeform* l = lifeform_list[k];
      if (!l || !l->alive()) continue;
      if (f == 1 && l == &attacker) l->start_move(slot, action_for(slot, attacker.facing));
      begin_lifeform_step(*l, k, muted_frame_effects());
      dash_speed_up(*l);
      end_lifeform_step(*l, k);
      l->advance(muted_frame_effects());
    }
    remove_dead_projectiles();
    // Nobody falls while measuring.
    defender.hp = defender.max_hp;
    attacker.hp = attacker.max_hp;
  }
  return run;
}

std::unique_ptr<lifeform> fresh_fighter(const char* file, control_map* controls, int team) {
  std::unique_ptr<lifeform> l = std::make_unique<lifeform>();
  l->controls = controls;
  l->load(file);
  l->team = team;
  l->edge_death = 0;
  auto p = std::make_unique<path>();
  p->add_step(mode_human);
  l->give_path(std::move(p));
  return l;
}

}  // namespace

const std::vector<int>& measured_attack_slots() {
  static const std::vector<int> slots = [] {
    std::vector<int> s;
    for (const slot_name& n : attack_names) s.push_back(n.slot);
    return s;
  }();
  return slots;
}

const char* attack_slot_name(int slot) {
  for (const slot_name& n : attack_names) {
    if (n.slot == slot) return n.name;
  }
  for (const slot_name& n : air_attack_names) {
    if (n.slot == slot) return n.name;
  }
  return "Move";
}

std::vector<move_frame_data> measure_frame_data(const char* attacker_file, const char* defender_file,
                                                control_map* controls) {
  std::vector<move_frame_data> out;
  std::unique_ptr<lifeform> defender = fresh_fighter(defender_file, controls, 0);
  std::unique_ptr<lifeform> attacker = fresh_fighter(attacker_file, controls, 1);
  defender->target = 1;
  attacker->target = 0;

  fight_host& outer = current_fight_host();
  measuring_host quiet(outer);
  set_fight_host(&quiet);
  std::vector<lifeform*> live;
  live.swap(lifeform_list);
  Uint32 (*const run_clock)() = seams().ticks;
  seams().ticks = measuring_clock;

  for (int slot : measured_attack_slots()) {
    if (slot >= static_cast<int>(attacker->moves.size()) || !attacker->moves[slot]) continue;
    move_frame_data d;
    d.slot = slot;
    lifeform_list = {defender.get(), attacker.get()};
    const measured_run hit = play_out(*attacker, *defender, slot, false);
    for (size_t k = 2; k < lifeform_list.size(); ++k) lifeform_list[k]->hp = -1;
    remove_dead_projectiles();
    lifeform_list = {defender.get(), attacker.get()};
    const measured_run block = play_out(*attacker, *defender, slot, true);
    for (size_t k = 2; k < lifeform_list.size(); ++k) lifeform_list[k]->hp = -1;
    remove_dead_projectiles();

    d.touches = hit.first_touch > 0;
    d.ends = hit.attacker_free > 0;
    d.startup = hit.first_touch;
    d.active = hit.touches;
    d.recovery = hit.attacker_free && hit.last_touch ? hit.attacker_free - hit.last_touch - 1 : 0;
    d.hit_known = hit.hurt && hit.defender_free && hit.attacker_free;
    if (d.hit_known) d.on_hit = hit.defender_free - hit.attacker_free;
    d.block_known = !block.hurt && block.contact && block.defender_free && block.attacker_free;
    if (d.block_known) d.on_block = block.defender_free - block.attacker_free;
    out.push_back(d);
  }

  seams().ticks = run_clock;
  lifeform_list.swap(live);
  set_fight_host(&outer);
  return out;
}

std::string frame_data_text(const move_frame_data& d) {
  if (!d.ends) return "never ends";
  if (!d.touches) return "never touches";
  char text[96];
  char hit[16] = "-", block[16] = "-";
  if (d.hit_known) std::snprintf(hit, sizeof hit, "%+d", d.on_hit);
  if (d.block_known) std::snprintf(block, sizeof block, "%+d", d.on_block);
  std::snprintf(text, sizeof text, "start-up %d  active %d  recovery %d  hit %s  block %s", d.startup, d.active,
                d.recovery, hit, block);
  return text;
}

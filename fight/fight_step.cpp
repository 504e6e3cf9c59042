#include "fight/fight_step.h"

#include "anim/frame_effects.h"
#include "core/log.h"
#include "core/safe_trunc.h"
#include "fight/fallen.h"
#include "fight/fight_camera.h"
#include "fight/fight_cleanup.h"
#include "fight/fight_clock.h"
#include "fight/fight_host.h"
#include "fight/hit_detection.h"
#include "fight/match_frame.h"
#include "fight/object_step.h"
#include "fighter/lifeform.h"
#include "fighter/path.h"
#include "stage/level.h"

namespace {

// Shake and flash reach the stage (they are the fight's state); sounds are
// listed, with the frame and the lifeform that started them.
class listing_sink final : public frame_effect_sink {
 public:
  listing_sink(step_events* events, int32_t owner) : events_(events), owner_(owner) {}
  void sound(frame_sound& s, int channel) override {
    if (events_) events_->add(sound_event{&s, fight_frame(), owner_, channel});
  }
  void shake(int amplitude) override { live_frame_effects().shake(amplitude); }
  void flash(int strength, int fade_per_tick) override { live_frame_effects().flash(strength, fade_per_tick); }

 private:
  step_events* events_;
  int32_t owner_;
};

bool stack_empty(const lifeform& l) { return !l.anim_stack || l.anim_stack->empty(); }

// Health lost by the fighters in this frame's hit resolution.
void trace_health(const int before[2]) {
  fight_host& host = current_fight_host();
  for (int k = 0; k < 2; ++k) {
    const lifeform* l = lifeform_at(k);
    if (l && l->hp != before[k]) {
      log_err("fight trace: frame [%ld] entry [%d] hp [%d] -> [%d]\n", host.presented_frames(), k, before[k], l->hp);
    }
  }
}

// Each fighter's path steers by its player's actions; the computer's reads
// the second player's, as its combo recogniser always watched those keys.
void hand_actions_to_fighters(const frame_inputs& inputs) {
  for (int k = 0; k < 2; ++k) {
    lifeform* l = lifeform_at(k);
    if (l && l->path) l->path->actions = inputs.player[l->path->player == 1 ? 1 : 0];
  }
}

// One afterimage: shifted back against the dash, shown at `alpha`, and the
// tick that goes with it, its first record's share handed back.
void ghost(lifeform& l, int alpha, frame_effect_sink& effects, step_observer* observer) {
  l.x = trunc_to_int(l.x - 2 * l.vx);
  l.alpha = alpha;
  if (observer) observer->lifeform_shown(l);
  l.advance(effects);
  if (!stack_empty(l) && l.anim_stack->plays[0]) l.anim_stack->plays[0]->countdown += 1;
}

// True when the next advance would play the last tick of a record that does
// not loop: that advance ends the special animation (and clears the stack).
bool next_tick_ends_special(const lifeform& l) {
  if (stack_empty(l)) return false;
  for (const anim_play* play : l.anim_stack->plays) {
    if (!play || !play->animation || play->loop) continue;
    if (play->countdown <= 1 && play->index + 1 >= play->animation->frames.size()) return true;
  }
  return false;
}

void dash_afterimages(lifeform& l, frame_effect_sink& effects, step_observer* observer) {
  if (!dash_speed_up(l)) return;
  // On the dash's last tick a ghost's tick would end it, and the following
  // draws would show the standing pose, opaque: the fighter's own tick ends it.
  if (next_tick_ends_special(l)) return;
  const int32_t home = l.x;
  ghost(l, 192, effects, observer);
  ghost(l, 64, effects, observer);
  l.x = home;
  l.alpha = 255;
}

}  // namespace

void step_lifeform(int k, step_events* events, step_observer* observer) {
  lifeform* self = lifeform_at(k);
  if (!self || !self->alive()) return;
  lifeform& l = *self;
  listing_sink effects(events, l.id);
  begin_lifeform_step(l, k, effects);
  if (k == 0 || k == 1) dash_afterimages(l, effects, observer);
  end_lifeform_step(l, k);
  if (observer) observer->lifeform_shown(l);
  l.advance(effects);
  expire_combo_text(l);
  if (observer) observer->lifeform_done(l, k);
}

void step(const frame_inputs& inputs, const step_options& options) {
  const bool was_muted = log_muted();
  if (options.quiet) set_log_muted(true);
  if (options.events) options.events->clear();
  step_observer* observer = options.observer;
  match_state* match = options.match;
  const bool paused = observer && observer->paused();
  const bool frozen = paused || (match && match->phase != match_phase::fighting);

  lifeform* a = lifeform_at(0);
  lifeform* b = lifeform_at(1);
  if (a && b && g_level) {
    const camera_view view = fight_camera(*a, *b, fight_screen_width(), fight_screen_height(), g_level->max_width,
                                          g_level->scale);
    apply_camera(*g_level, view, *a, *b);
  }
  if (g_level) g_level->advance(frozen);
  if (observer) observer->stage_ready();

  if (!frozen) {
    if (a && b) face_each_other(*a, *b);
    const int hp_before[2] = {a ? a->hp : 0, b ? b->hp : 0};
    body_contact();
    projectile_hits();
    if (current_fight_host().fight_tracing()) trace_health(hp_before);
    if (observer) observer->hits_resolved();
  }

  if (match) {
    if (!observer || observer->match_rules_due()) {
      const match_phase before = match->phase;
      run_match_rules(*match);
      if (observer) observer->match_ruled(before);
    }
  } else {
    if (a && b) put_down_fallen(*a, *b);
    if (observer) observer->fight_decided();
  }

  if ((observer && observer->paused()) || (match && match->phase != match_phase::fighting)) {
    if (observer) observer->world_frozen();
  } else {
    hand_actions_to_fighters(inputs);
    if (observer) observer->objects_begin();
    // The size is read again every pass: ticks may append bullets.
    for (size_t k = 0; k < lifeform_list.size(); ++k) step_lifeform(static_cast<int>(k), options.events, observer);
    remove_dead_projectiles();
  }
  set_fight_frame(fight_frame() + 1);
  set_log_muted(was_muted);
}

#include "app/online/online_fight_game.h"

#include "app/fight/app_fight_host.h"
#include "app/fight/match_driver.h"
#include "app/fight/object_update.h"
#include "fight/fight_clock.h"
#include "fight/fight_state_hash.h"
#include "fight/match.h"
#include "stage/level.h"

void present_frame_drawing::stage_ready() {
  if (g_level) g_level->draw();
}
void present_frame_drawing::hits_resolved() { draw_hit_outlines(); }
void present_frame_drawing::world_frozen() { match_.draw_frozen_world(); }
void present_frame_drawing::objects_begin() { object_drawing().objects_begin(); }
void present_frame_drawing::lifeform_shown(const lifeform& l) { object_drawing().lifeform_shown(l); }
void present_frame_drawing::lifeform_done(const lifeform& l, int k) { object_drawing().lifeform_done(l, k); }

online_fight_game::online_fight_game(fight_content& content, match_driver& match)
    : content_(content), match_(match), drawing_(match), slots_(rollback_slots) {}

void online_fight_game::save_state(int slot) { save_fight_state(slots_[slot], content_, &match_.state); }

void online_fight_game::load_state(int slot) {
  restore_fight_state(slots_[slot], content_, &match_.state);
  if (decided_frame >= fight_frame()) decided_frame = -1;  // that future is being rewritten
}

void online_fight_game::step(const player_actions inputs[2]) {
  const int64_t f = fight_frame();
  frame_inputs frame;
  frame.player[0] = inputs[1];  // entry 1 steers by the first player's actions
  frame.player[1] = inputs[0];
  step_options options;
  options.match = &match_.state;
  options.observer = f == present_frame ? &drawing_ : nullptr;
  options.quiet = f != present_frame;
  ::step(frame, options);
  if (decided_frame < 0 && (match_.state.match_winner >= 0 || match_.state.match_drawn)) {
    decided_frame = static_cast<int>(f);
    decided_hash = state_hash();
    winner = match_.state.match_winner;
  }
}

uint64_t online_fight_game::state_hash() {
  save_fight_state(scratch_, content_, &match_.state);
  return fight_state_hash(scratch_);
}

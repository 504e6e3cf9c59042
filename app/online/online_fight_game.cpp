#include "app/online/online_fight_game.h"

#include <algorithm>
#include <cstdlib>

#include "app/fight/app_fight_host.h"
#include "app/fight/match_driver.h"
#include "app/fight/object_update.h"
#include "anim/frame_effects.h"
#include "core/log.h"
#include "fight/fight_clock.h"
#include "fight/fight_state_hash.h"
#include "fight/match.h"
#include "fighter/lifeform.h"
#include "stage/level.h"

namespace {
constexpr size_t hashed_states_kept = 4;
}  // namespace

uint32_t sound_key(const sound_event& e) {
  const void* sample = e.sound ? e.sound->sample() : nullptr;
  if (!sample) sample = e.sound;
  uint64_t h = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(sample));
  h = (h ^ (h >> 29)) * 0x9e3779b97f4a7c15ull;
  h ^= static_cast<uint64_t>(static_cast<uint32_t>(e.lifeform_id)) * 0xbf58476d1ce4e5b9ull;
  h ^= static_cast<uint64_t>(static_cast<uint32_t>(e.channel + 1)) << 40;
  h ^= h >> 31;
  return static_cast<uint32_t>(h ^ (h >> 32));
}

namespace {

// What drawing says is said at once: it belongs to the picture shown now, not
// to the frame's story, which waits for the frame to be confirmed.
template <class Draw>
void drawing_heard_now(Draw draw) {
  std::string* out = log_capture_out();
  std::string* err = log_capture_err();
  set_log_capture(nullptr, nullptr);
  draw();
  set_log_capture(out, err);
}

}  // namespace

void present_frame_drawing::stage_ready() {
  drawing_heard_now([] {
    if (g_level) g_level->draw();
  });
}
void present_frame_drawing::hits_resolved() { drawing_heard_now([] { draw_hit_outlines(); }); }
void present_frame_drawing::world_frozen() { drawing_heard_now([this] { match_.draw_frozen_world(); }); }
void present_frame_drawing::objects_begin() { drawing_heard_now([] { object_drawing().objects_begin(); }); }
void present_frame_drawing::lifeform_shown(const lifeform& l) {
  drawing_heard_now([&l] { object_drawing().lifeform_shown(l); });
}
void present_frame_drawing::lifeform_done(const lifeform& l, int k) {
  drawing_heard_now([&l, k] { object_drawing().lifeform_done(l, k); });
}

online_fight_game::online_fight_game(fight_content& content, match_driver& match, step_sound_sink& sounds)
    : content_(content), match_(match), drawing_(match), sounds_(sounds), ledger_(sounds), slots_(rollback_slots) {
  // For the tests of a desync: never set by a player's option.
  if (const char* spoil = std::getenv("GAME_TEST_SPOIL_FRAME")) spoil_frame = std::atoll(spoil);
}

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
  options.events = &events_;
  // The frame's lines wait for it to be confirmed; a step again replaces them.
  std::string out, err;
  std::string* const outer_out = log_capture_out();
  std::string* const outer_err = log_capture_err();
  set_log_capture(&out, &err);
  ::step(frame, options);
  set_log_capture(outer_out, outer_err);
  lines_.erase(f);
  error_lines_.erase(f);
  if (!out.empty()) lines_[f] = std::move(out);
  if (!err.empty()) error_lines_[f] = std::move(err);
  report_sounds();
  if (f == spoil_frame && lifeform_at(0)) lifeform_at(0)->x += 1;
  if (decided_frame < 0 && (match_.state.match_winner >= 0 || match_.state.match_drawn)) {
    decided_frame = static_cast<int>(f);
    decided_hash = state_hash();
    winner = match_.state.match_winner;
  }
}

void online_fight_game::step_confirmed(const player_actions inputs[2]) {
  const int f = static_cast<int>(fight_frame());
  ledger_.begin_frame(f);
  step(inputs);
  ledger_.end_frame();
  ledger_.confirm_through(f);
  print_confirmed_lines(f);
}

uint64_t online_fight_game::state_hash() {
  save_fight_state(scratch_, content_, &match_.state);
  if (scratch_.frame > 0 && scratch_.frame % rollback_hash_interval == 0) {
    hashed_[scratch_.frame] = scratch_;  // what a desync report shows
    while (hashed_.size() > hashed_states_kept) hashed_.erase(hashed_.begin());
  }
  return fight_state_hash(scratch_);
}

const fight_state* online_fight_game::hashed_state(int frame) const {
  auto it = hashed_.find(frame);
  return it == hashed_.end() ? nullptr : &it->second;
}

void online_fight_game::report_sounds() {
  for (int i = 0; i < events_.sound_count; ++i) {
    sounds_.next = &events_.sounds[i];
    ledger_.emit(sound_key(events_.sounds[i]));
  }
  sounds_.next = nullptr;
}

void online_fight_game::print_confirmed_lines(int frame) {
  // Past the deciding frame the match is over: no side prints further.
  if (decided_frame >= 0 && frame >= decided_frame) frame = decided_frame;
  while (!lines_.empty() && lines_.begin()->first <= frame) {
    log_out("%s", lines_.begin()->second.c_str());
    lines_.erase(lines_.begin());
  }
  while (!error_lines_.empty() && error_lines_.begin()->first <= frame) {
    log_err("%s", error_lines_.begin()->second.c_str());
    error_lines_.erase(error_lines_.begin());
  }
}

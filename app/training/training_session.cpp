#include "app/training/training_session.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>

#include "app/fight/fight_setup.h"
#include "app/fight/fight_text.h"
#include "app/fight/hud_box.h"
#include "app/fight/hud_scale.h"
#include "app/fight/match_driver.h"
#include "app/fight/match_round.h"
#include "app/fight/match_text.h"
#include "app/fight/object_update.h"
#include "app/training/hit_box_view.h"
#include "app/video.h"
#include "core/seams.h"
#include "fight/fight_clock.h"
#include "fight/fight_host.h"
#include "fight/fight_state.h"
#include "fight/round_reset.h"
#include "fight/object_step.h"
#include "fighter/combo.h"
#include "fighter/lifeform.h"
#include "fighter/path.h"
#include "stage/level.h"

namespace {

training_request the_request;

// Training keys, as bits of what is held.
constexpr int key_menu = 1;        // P
constexpr int key_reset = 2;       // Backspace
constexpr int key_record = 4;      // F5
constexpr int key_playback = 8;    // F6
constexpr int key_boxes = 16;      // F2
constexpr int key_refill = 32;     // F4
constexpr int key_escape = 64;     // Escape: the menu too

int training_keys_held() {
  const Uint8* keys = key_state();
  if (!keys) return 0;
  int held = 0;
  if (keys[SDLK_p]) held |= key_menu;
  if (keys[SDLK_BACKSPACE]) held |= key_reset;
  if (keys[SDLK_F5]) held |= key_record;
  if (keys[SDLK_F6]) held |= key_playback;
  if (keys[SDLK_F2]) held |= key_boxes;
  if (keys[SDLK_F4]) held |= key_refill;
  if (keys[SDLK_ESCAPE]) held |= key_escape;
  return held;
}

int screen_width() { return g_video.screen ? g_video.screen->w : 0; }
int screen_height() { return g_video.screen ? g_video.screen->h : 0; }

bool stack_empty(const lifeform& l) { return !l.anim_stack || l.anim_stack->empty(); }

// The attack slot whose move `l` plays, -1 for none: the measured ones and
// the attacks in the air.
int slot_playing(const lifeform& l) {
  for (int slot : measured_attack_slots()) {
    if (playing_move(l, slot)) return slot;
  }
  for (int slot : {slot_air_punch, slot_air_kick}) {
    if (playing_move(l, slot)) return slot;
  }
  return -1;
}

enum menu_item { item_resume, item_dummy, item_refill, item_boxes, item_record, item_playback, item_reset,
                 item_moves, item_quit };

}  // namespace

void request_training(const training_request& r) { the_request = r; }
const training_request& requested_training() { return the_request; }

void reset_training_positions(training_spot spot) {
  reset_for_next_round();
  place_training_fighters(spot);
}

void place_training_fighters(training_spot spot) {
  lifeform* dummy = lifeform_at(0);
  lifeform* player = lifeform_at(1);
  if (!dummy || !player) return;
  for (int k = 0; k < 2; ++k) {
    lifeform& l = *lifeform_at(k);
    l.x = fight_start_x(k);
    l.y = fight_screen_height() - l.height;
    l.facing = k == 0 ? 1 : 0;
  }
  if (spot == training_spot::centre) return;
  // The dummy in the corner, the player a step in front of it.
  const int gap = 40;
  const int right = static_cast<int>(std::max(0.0, held_right_limit(*dummy)));
  if (spot == training_spot::left_corner) {
    dummy->x = 0;
    player->x = dummy->width + gap;
    dummy->facing = 1;
    player->facing = 0;
  } else {
    dummy->x = right;
    player->x = std::max(0, right - player->width - gap);
    dummy->facing = 0;
    player->facing = 1;
  }
}

training_session::training_session(const training_request& r) : fps_(r.fps > 0 ? r.fps : 60) {
  dummy.record_limit = static_cast<size_t>(10 * fps_);
  lifeform* d = lifeform_at(0);
  lifeform* p = lifeform_at(1);
  if (d) {
    dummy_path_ = d->path;
    computer_path_ = std::make_unique<path>();
    computer_path_->add_step(mode_computer);
    computer_path_->player = 1;
    computer_path_->recognizer.import(d->combos.get());
  }
  // Measured now, on fighters of their own, so the fight shown is untouched.
  if (d && p && r.fighter >= 0 && r.fighter < roster_size && r.dummy >= 0 && r.dummy < roster_size) {
    frame_data[1] = measure_frame_data(roster_char_files[r.fighter], roster_char_files[r.dummy], p->controls);
    frame_data[0] = measure_frame_data(roster_char_files[r.dummy], roster_char_files[r.fighter], d->controls);
  }
  for (int k = 0; k < 2; ++k) {
    if (const lifeform* l = lifeform_at(k)) last_hp_[k] = l->hp;
  }
  held_keys_ = training_keys_held();
  if (d && p) {
    content_ = std::make_unique<fight_content>();
    start_ = std::make_unique<fight_state>();
    if (!save_fight_state(*start_, *content_, nullptr)) start_.reset();
  }
}

void training_session::reset_position() {
  const training_spot spot = static_cast<training_spot>(next_spot);
  if (start_) {
    // The fight goes back as it started; its clock and dice run on.
    const int64_t frame = fight_frame();
    const unsigned long long dice = recordable_random_state();
    restore_fight_state(*start_, *content_, nullptr);
    set_fight_frame(frame);
    set_recordable_random_state(dice);
    place_training_fighters(spot);
  } else {
    reset_training_positions(spot);
  }
  next_spot = (next_spot + 1) % training_spot_count;
  ++resets;
  dummy.struck = false;
  for (int k = 0; k < 2; ++k) {
    quiet_frames_[k] = fps_;
    if (const lifeform* l = lifeform_at(k)) last_hp_[k] = l->hp;
  }
}

training_session::~training_session() {
  // The dummy goes back to its own path before the computer's is freed.
  lifeform* d = lifeform_at(0);
  if (d && computer_path_ && d->path == computer_path_.get()) d->path = dummy_path_;
}

const move_frame_data* training_session::data_for(int k, int slot) const {
  if (k < 0 || k > 1) return nullptr;
  for (const move_frame_data& m : frame_data[k]) {
    if (m.slot == slot) return &m;
  }
  return nullptr;
}

void training_session::steer_dummy_path() {
  lifeform* d = lifeform_at(0);
  if (!d || !computer_path_) return;
  const bool computer = dummy.behaviour == dummy_behaviour::computer && !dummy.recording;
  path* wanted = computer ? computer_path_.get() : dummy_path_;
  if (computer) computer_path_->ai.level = dummy.computer_level;
  if (d->path != wanted) d->path = wanted;
}

void training_session::take_inputs(frame_actions& held) {
  if (paused) return;
  inputs.note(held.player[0]);
  const lifeform* d = lifeform_at(0);
  const player_actions player_one = held.player[0];
  held.player[1] = dummy.actions(d ? d->facing : 1, player_one);
  // While the dummy is recorded, player 1's keys steer it, not their fighter.
  if (dummy.recording) held.player[0] = 0;
  steer_dummy_path();
}

void training_session::watch_health() {
  for (int k = 0; k < 2; ++k) {
    lifeform* l = lifeform_at(k);
    if (!l) continue;
    const bool hurt = l->hp < last_hp_[k];
    if (hurt || l->action == action_hit) {
      quiet_frames_[k] = 0;
      if (k == 0 && hurt) dummy.struck = true;
    } else if (quiet_frames_[k] < fps_) {
      ++quiet_frames_[k];
    }
    // Nobody falls in training.
    if (l->hp < 0) l->hp = 0;
    if (quiet_frames_[k] >= fps_) {
      if (k == 0) dummy.struck = false;
      if (refill && l->hp < l->max_hp) l->hp = l->max_hp;
    }
    last_hp_[k] = l->hp;
  }
}

bool training_session::step() {
  const int now = training_keys_held();
  const int pressed = now & ~held_keys_;
  held_keys_ = now;
  if (paused) {
    step_menu();
    return quit;
  }
  if (pressed & (key_menu | key_escape)) {
    open_menu();
    return false;
  }
  if (pressed & key_reset) reset_position();
  // F5 starts a recording, or ends one early.
  if (pressed & key_record) {
    if (dummy.recording) {
      dummy.recording = false;
    } else {
      dummy.start_recording();
    }
  }
  if (pressed & key_playback) dummy.start_playback();
  if (pressed & key_boxes) hit_boxes = !hit_boxes;
  if (pressed & key_refill) refill = !refill;
  watch_health();
  return false;
}

void training_session::open_menu() {
  paused = true;
  showing_moves = false;
  dummy.recording = false;
  menu_.open({"", "", "", "", "", "", "", "", ""}, read_menu_keys(), menu_lock_frames(fps_));
  refresh_menu_items();
}

void training_session::refresh_menu_items() {
  menu_.items[item_resume] = "Resume";
  menu_.items[item_dummy] = std::string("Dummy: ") + dummy_behaviour_name(dummy.behaviour, dummy.computer_level);
  menu_.items[item_refill] = std::string("Health refill: ") + (refill ? "on" : "off");
  menu_.items[item_boxes] = std::string("Hit boxes: ") + (hit_boxes ? "on" : "off");
  menu_.items[item_record] = "Record the dummy (F5)";
  menu_.items[item_playback] = dummy.recorded.empty() ? "Play the recording (none yet)" : "Play the recording (F6)";
  menu_.items[item_reset] = "Reset position (Backspace)";
  menu_.items[item_moves] = "Move list";
  menu_.items[item_quit] = "Quit";
}

void training_session::step_menu() {
  const menu_keys keys = read_menu_keys();
  const int choice = menu_.apply(keys);
  if (showing_moves) {
    if (choice != menu_nothing) showing_moves = false;
    return;
  }
  if (menu_.selected == item_dummy && menu_.sideways() != 0) dummy.cycle(menu_.sideways());
  if (menu_.selected == item_refill && menu_.sideways() != 0) refill = !refill;
  if (menu_.selected == item_boxes && menu_.sideways() != 0) hit_boxes = !hit_boxes;
  switch (choice) {
    case menu_escaped:
    case item_resume:
      paused = false;
      break;
    case item_dummy:
      dummy.cycle(1);
      break;
    case item_refill:
      refill = !refill;
      break;
    case item_boxes:
      hit_boxes = !hit_boxes;
      break;
    case item_record:
      paused = false;
      dummy.start_recording();
      break;
    case item_playback:
      if (dummy.start_playback()) paused = false;
      break;
    case item_reset:
      paused = false;
      held_keys_ &= ~key_reset;
      reset_position();
      break;
    case item_moves: {
      showing_moves = true;
      move_lines_.clear();
      const lifeform* p = lifeform_at(1);
      move_lines_.push_back((p && !p->name.empty() ? p->name : std::string("Your fighter")) + ": frame data");
      for (const move_frame_data& m : frame_data[1]) {
        move_lines_.push_back(std::string(attack_slot_name(m.slot)) + ": " + frame_data_text(m));
      }
      for (const std::string& line : match_driver::move_list_lines(match_driver::paused_by_first_joystick)) {
        move_lines_.push_back(line);
      }
      break;
    }
    case item_quit:
      quit = true;
      break;
    default:
      break;
  }
  // Keep the dummy's path in step with a behaviour picked here.
  steer_dummy_path();
  if (paused) refresh_menu_items();
}

void training_session::draw_frozen_world() const {
  for (const lifeform* l : lifeform_list) {
    if (l && l->alive()) l->draw();
  }
  // The gauges and names stay up behind the menu, as they are while it runs.
  for (int k = 0; k < 2; ++k) {
    if (const lifeform* l = lifeform_at(k)) draw_lifeform_overlays(*l, k);
  }
}

void training_session::watch_attacks() {
  for (int k = 0; k < 2; ++k) {
    const lifeform* l = lifeform_at(k);
    if (!l) continue;
    // A move started since the last frame: another stack, another first
    // animation, or the same one from an earlier tick (a stack freed and
    // made again may come back at the same address).
    played_tick now;
    if (!stack_empty(*l) && l->anim_stack->plays[0]) {
      const anim_play& p = *l->anim_stack->plays[0];
      now = {l->anim_stack.get(), p.animation, static_cast<int>(p.index), p.countdown};
    }
    const played_tick& was = last_tick_[k];
    const bool started = now.stack && (now.stack != was.stack || now.animation != was.animation ||
                                       now.index < was.index || (now.index == was.index && now.countdown > was.countdown));
    if (started && l->action != action_hit) {
      const int slot = slot_playing(*l);
      if (slot >= 0) {
        last_attacker = k;
        last_attack_slot = slot;
      }
    }
    last_tick_[k] = now;
  }
  // A combo player 1 completed this frame: named beside the input that ended it.
  const lifeform* p = lifeform_at(1);
  if (p && p->combo_shown != -1 && p->combo_shown_until != last_combo_until_) {
    last_combo_until_ = p->combo_shown_until;
    inputs.note_combo(combo_move_name(p->combo_shown));
  }
}

void training_session::draw_status() const {
  char line[96];
  if (dummy.recording) {
    std::snprintf(line, sizeof line, "Recording the dummy: %.1f s left (F5 ends it)",
                  static_cast<double>(dummy.record_limit - dummy.recorded.size()) / fps_);
  } else {
    std::snprintf(line, sizeof line, "Training - dummy: %s%s  P: menu",
                  dummy_behaviour_name(dummy.behaviour, dummy.computer_level), refill ? "" : "  (no refill)");
  }
  int w = 0, h = 0;
  fight_label_size(line, w, h);
  const int y = screen_height() - h - hud_px(4);
  fill_hud_box(0, y - 2, w + hud_px(8), h + 4, 0, 0, 0, 128);
  draw_fight_label(hud_px(4), y, line);
}

void training_session::draw_last_frame_data() const {
  if (last_attacker < 0) return;
  const move_frame_data* d = data_for(last_attacker, last_attack_slot);
  const lifeform* l = lifeform_at(last_attacker);
  const std::string who = l && !l->name.empty() ? l->name : (last_attacker == 1 ? "Player" : "Dummy");
  const std::string line = who + " " + attack_slot_name(last_attack_slot) + ": " +
                           (d ? frame_data_text(*d) : std::string("not measured (in the air)"));
  int w = 0, h = 0;
  fight_label_size(line.c_str(), w, h);
  const int x = std::max(0, screen_width() - w - hud_px(4));
  const int y = hud_px(62);  // under the gauges, the names and a replay's banner
  fill_hud_box(x - hud_px(4), y - 2, w + hud_px(8), h + 4, 0, 0, 0, 128);
  draw_fight_label(x, y, line.c_str());
}

void training_session::draw_overlay() {
  if (!paused) watch_attacks();
  if (hit_boxes) draw_training_hit_boxes();
  inputs.draw();
  draw_last_frame_data();
  draw_status();
  if (!paused) return;
  const int big_y = screen_height() / 6;
  draw_big_text_centred(big_y, "Training");
  const int below = big_y + big_text_height() + hud_px(8);
  if (showing_moves) {
    int widest = 0, line = 0;
    for (const std::string& s : move_lines_) {
      int w = 0, h = 0;
      fight_label_size(s.c_str(), w, h);
      widest = std::max(widest, w);
      line = std::max(line, h);
    }
    const int x = (screen_width() - widest) / 2;
    fill_hud_box(x - hud_px(8), below - hud_px(8), widest + hud_px(16),
                 line * static_cast<int>(move_lines_.size() + 1) + hud_px(16), 0, 0, 0, 192);
    int y = below;
    for (const std::string& s : move_lines_) {
      draw_fight_label(x, y, s.c_str());
      y += line;
    }
    draw_fight_label(x, y, "RETURN: back");
  } else {
    menu_.draw(below);
  }
}

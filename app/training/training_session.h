// Training: the player's fighter (entry 1) against a dummy (entry 0) that does
// what the player picks in the training menu, with no clock and no end. The
// fight loop hands it each frame's actions before the fighters step, lets it
// act after the hits, and has it draw over the fight.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/fight/menu.h"
#include "app/input/frame_actions.h"
#include "app/training/dummy_control.h"
#include "app/training/frame_data.h"
#include "app/training/input_display.h"

class fight_content;
class path;
struct fight_state;

// Asked for before the fight starts (--training): the roster positions of
// the player's fighter and of the dummy, and the frame rate.
struct training_request {
  bool on = false;
  int fighter = 0;
  int dummy = 0;
  int fps = 60;
};
void request_training(const training_request& r);
const training_request& requested_training();

// Where a position reset puts the fighters, in the order Backspace cycles.
enum class training_spot { centre, left_corner, right_corner };
constexpr int training_spot_count = 3;

// Both fighters at `spot` (the dummy nearer the corner), full health,
// standing, no projectiles, within the frame it is called in.
void reset_training_positions(training_spot spot);
// Only moves both fighters to `spot`, standing on the floor facing each other.
void place_training_fighters(training_spot spot);

class training_session {
 public:
  explicit training_session(const training_request& r);
  ~training_session();
  training_session(const training_session&) = delete;
  training_session& operator=(const training_session&) = delete;

  dummy_control dummy;
  input_display inputs;
  bool refill = true;       // health back to full a second after a combo
  bool hit_boxes = false;
  bool paused = false;      // the training menu is up; the fight stands still
  bool showing_moves = false;
  bool quit = false;        // Quit chosen in the menu
  int next_spot = 0;        // training_spot of the next reset
  int resets = 0;           // resets done so far
  // Measured at the start, by entry: 0 the dummy's moves, 1 the player's.
  std::vector<move_frame_data> frame_data[2];
  int last_attacker = -1;   // entry that started the last attack, -1 none yet
  int last_attack_slot = -1;

  bool frozen() const { return paused; }
  // Before the fighters step: notes player 1's input and puts the dummy's
  // actions in the second player's place (player 1's own while recording).
  void take_inputs(frame_actions& held);
  // After this frame's hits: training keys and menu, health. True to end.
  bool step();
  // While paused: the fighters and projectiles as they stand.
  void draw_frozen_world() const;
  // After the fighters drew: boxes, inputs, frame data, status and menu.
  void draw_overlay();

  // The frame data of `slot` of entry `k`'s fighter, or null.
  const move_frame_data* data_for(int k, int slot) const;

 private:
  int fps_;
  // The fight as training started: a position reset puts it back, then moves
  // the fighters. Null when it couldn't be saved (a reset then tidies up).
  std::unique_ptr<fight_content> content_;
  std::unique_ptr<fight_state> start_;
  std::unique_ptr<path> computer_path_;  // the dummy's when it plays the computer
  path* dummy_path_ = nullptr;           // the dummy's own, steered by its actions
  int held_keys_ = 0;                    // training keys held last frame (bits)
  int last_hp_[2] = {0, 0};
  int quiet_frames_[2] = {0, 0};         // frames since the fighter was last hurt
  // Where each fighter's special animation stood after the last frame.
  struct played_tick {
    const void* stack = nullptr;
    const void* animation = nullptr;
    int index = 0;
    int countdown = 0;
  };
  played_tick last_tick_[2];
  uint32_t last_combo_until_ = 0;
  menu menu_;
  std::vector<std::string> move_lines_;

  void reset_position();
  void open_menu();
  void refresh_menu_items();
  void step_menu();
  void watch_health();
  void watch_attacks();
  void steer_dummy_path();
  void draw_status() const;
  void draw_last_frame_data() const;
};

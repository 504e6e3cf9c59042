// The frame loop of the run's fight: camera and stage, facing, hits, the
// result, every live lifeform's update and draw, the timing figure, present.
// Without matches it has no end of fight: a decided fight keeps showing its
// result until Escape or a quit request (window closed, SIGTERM, SIGINT).
// With matches (current_match_rules().on()) the fight is played in rounds,
// with the pause and result menus (match_driver).
#pragma once
#include <cstdint>
#include <memory>

class match_driver;
class training_session;

// Wall-clock milliseconds of the parts of one frame, filled only when the
// loop is measuring (the benchmark).
struct fight_frame_times {
  double frame = 0.0;   // clear to present, both included
  double stage = 0.0;   // camera and stage drawing
  double hits = 0.0;    // facing, body contact, projectile hits
  double update = 0.0;  // per-object update and drawing, dead projectile removal
};

class fight_loop {
 public:
  fight_loop();
  ~fight_loop();

  long frame_counter = 0;  // frames run so far
  int quit = 0;            // set by a quit request or Escape; the loop ends after that frame
  bool measuring = false;  // fill `times` each frame
  fight_frame_times times;
  std::unique_ptr<match_driver> match;  // null without matches
  std::unique_ptr<training_session> training;  // null outside training

  // One whole frame. True when the loop should end after it.
  bool run_frame();

  // Result messages, drawn before the lifeforms (the fallen fighters are
  // put down on the floor first: put_down_fallen).
  void show_result() const;

  // The figure shown is 1000 / milliseconds slept in the limiter
  // (0 when it did not sleep).
  static int timing_figure(uint32_t t0, uint32_t t1);
};

// The three result messages; all 27 characters long.
extern const char* const player_two_wins;
extern const char* const player_one_wins;
extern const char* const double_death;

// Screen x of a message centred for 8-pixel character cells.
int centred_text_x(const char* text);

enum class fight_end {
  quit,            // Escape, Quit, or a quit request
  back_to_select,  // the result menu's Character select
};

// Runs frames until a quit request, or until the player asks to pick again.
fight_end run_fight_loop();

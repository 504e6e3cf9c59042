#include "app/fight/fight_loop.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "fight/fight_step.h"
#include "fight/fight_options.h"
#include "app/fight/fight_text.h"
#include "app/frame_limiter.h"
#include "app/input/frame_actions.h"
#include "fight/hit_detection.h"
#include "fight/match.h"
#include "app/fight/match_driver.h"
#include "app/fight/app_fight_host.h"
#include "app/dev/script_driver.h"
#include "app/replay/replay_session.h"
#include "app/training/training_session.h"
#include "app/fight/object_update.h"
#include "app/video.h"
#include "core/log.h"
#include "core/quit_request.h"
#include "core/seams.h"
#include "fighter/lifeform.h"
#include "fighter/path.h"
#include "stage/level.h"

const char* const player_two_wins = "Player 2 Wins (ESC to quit)";
const char* const player_one_wins = "Player 1 Wins (ESC to quit)";
const char* const double_death = "Double Death  (ESC to quit)";

namespace {

using clock_type = std::chrono::steady_clock;

// OpenGL queues its drawing; a measured frame waits for each part to be
// drawn so the part's share includes its rendering.
clock_type::time_point part_done(bool measuring) {
  if (measuring && opengl_mode()) glFinish();
  return clock_type::now();
}

double ms_between(clock_type::time_point a, clock_type::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

int screen_width() { return g_video.screen ? g_video.screen->w : 0; }
int screen_height() { return g_video.screen ? g_video.screen->h : 0; }

// The app's side of a fight frame: it draws the stage, the outlines, the
// lifeforms and the decided fight where the step shows them, runs the
// match's pause and result menus around its rules, and notes when each part
// of the frame is done for a measured run.
class frame_observer final : public step_observer {
 public:
  frame_observer(fight_loop& loop, bool measuring) : loop_(loop), measuring_(measuring) {}

  clock_type::time_point staged, hit, shown;

  void stage_ready() override {
    if (g_level) g_level->draw();
    staged = hit = part_done(measuring_);
  }
  void hits_resolved() override {
    draw_hit_outlines();
    hit = part_done(measuring_);
  }
  bool match_rules_due() override { return loop_.match->take_pause_input(); }
  void match_ruled(match_phase before) override { loop_.match->after_rules(before); }
  // Training has no result: its own rules (refill, dummy, menu) run there.
  void fight_decided() override {
    if (!loop_.training) {
      loop_.show_result();
    } else if (loop_.training->step()) {
      loop_.quit = 1;
    }
  }
  void world_frozen() override {
    shown = part_done(measuring_);
    if (loop_.match) {
      loop_.match->draw_frozen_world();
    } else if (loop_.training) {
      loop_.training->draw_frozen_world();
    }
  }
  void objects_begin() override {
    shown = part_done(measuring_);
    object_drawing().objects_begin();
  }
  void lifeform_shown(const lifeform& l) override { object_drawing().lifeform_shown(l); }
  void lifeform_done(const lifeform& l, int k) override { object_drawing().lifeform_done(l, k); }
  bool paused() const override {
    return (loop_.match && loop_.match->paused) || (loop_.training && loop_.training->frozen());
  }

 private:
  fight_loop& loop_;
  bool measuring_;
};

}  // namespace

int centred_text_x(const char* text) {
  return screen_width() / 2 - 4 * static_cast<int>(std::strlen(text));
}

fight_loop::fight_loop() {
  const match_rules& rules = current_match_rules();
  if (requested_training().on) {
    training.reset(new training_session(requested_training()));
  } else if (rules.on()) {
    match.reset(new match_driver(rules));
  }
}

fight_loop::~fight_loop() = default;

int fight_loop::timing_figure(uint32_t t0, uint32_t t1) {
  const uint32_t idle = t1 - t0;
  if (idle == 0) return 0;
  return static_cast<int>(1000.0 / idle);
}

void fight_loop::show_result() const {
  const lifeform* a = lifeform_at(0);
  const lifeform* b = lifeform_at(1);
  if (!a || !b) return;
  const int y = screen_height() / 2 - 4;
  // Alone, the player is entry 1 ("Player 2"). With a second human on entry 0
  // the players are named as on the select screen, so the texts swap sides.
  const bool two_players = a->path && a->path->steered_by_human(1);
  const char* const a_down = two_players ? player_one_wins : player_two_wins;
  const char* const b_down = two_players ? player_two_wins : player_one_wins;
  if (a->hp < 0) draw_fight_text(centred_text_x(a_down), y, a_down);
  if (b->hp < 0) draw_fight_text(centred_text_x(b_down), y, b_down);
  if (a->hp < 0 && b->hp < 0) draw_fight_text(centred_text_x(double_death), y, double_death);
}

bool fight_loop::run_frame() {
  const clock_type::time_point start = clock_type::now();
  g_video.clear_screen();

  // One event taken here; the paths take more during the update. A quit
  // request wherever it lies in the queue, or taken by anyone, ends the loop.
  SDL_Event event;
  if (SDL_PollEvent(&event) == 1) note_taken_event(event);
  if (poll_quit_request()) quit = 1;
  // In a match Escape opens the pause menu (match_driver); alone it quits.
  const Uint8* keys = key_state();
  if (!match && !training && keys && keys[SDLK_ESCAPE]) quit = 1;
  ++frame_counter;
  frame_actions held = read_frame_actions();
  if (training) training->take_inputs(held);
  frame_inputs inputs;
  inputs.player[0] = held.player[0];
  inputs.player[1] = held.player[1];

  frame_observer observer(*this, measuring);
  step_options options;
  options.match = match ? &match->state : nullptr;
  options.observer = &observer;
  step_events events;
  options.events = &events;
  const clock_type::time_point staging = part_done(measuring);
  observer.staged = observer.hit = observer.shown = staging;
  step(inputs, options);
  play_step_sounds(events);
  note_fight_stepped(match ? &match->state : nullptr);
  if (match) {
    match->draw_overlay();
    if (match->quit || match->back_to_select) quit = 1;
  }
  if (training) training->draw_overlay();
  const clock_type::time_point updated = part_done(measuring);

  const uint32_t t0 = game_ticks();
  limiter().delay();
  const uint32_t t1 = game_ticks();
  char figure[16];
  std::snprintf(figure, sizeof figure, "%d", timing_figure(t0, t1));
  if (current_fight_options().timing_figure) draw_fight_text(0, 100, figure);
  g_video.present();

  if (measuring) {
    const clock_type::time_point end = clock_type::now();
    times.frame = ms_between(start, end);
    times.stage = ms_between(staging, observer.staged);
    times.hits = ms_between(observer.staged, observer.hit);
    times.update = ms_between(observer.shown, updated);
  }
  // A quit taken by a path, or one that arrived while this frame was drawn,
  // ends the loop now rather than a frame later.
  if (poll_quit_request()) quit = 1;
  return quit != 0;
}

fight_end run_fight_loop() {
  if (fight_tracing()) log_err("fight trace: frame [%ld] fight starts\n", presented_frames());
  fight_loop loop;
  while (!loop.run_frame()) {
  }
  if (fight_tracing()) log_err("fight trace: frame [%ld] fight ends\n", presented_frames());
  const bool again = loop.match && loop.match->back_to_select && !loop.match->quit && !quit_requested();
  return again ? fight_end::back_to_select : fight_end::quit;
}

#include "app/fight/fight_loop.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "fight/fight_camera.h"
#include "fight/fallen.h"
#include "fight/fight_cleanup.h"
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

// Health lost by the fighters in this frame's hit resolution.
void trace_health(const int before[2]) {
  for (int k = 0; k < 2; ++k) {
    const lifeform* l = lifeform_at(k);
    if (l && l->hp != before[k]) {
      log_err("fight trace: frame [%ld] entry [%d] hp [%d] -> [%d]\n", presented_frames(), k, before[k], l->hp);
    }
  }
}

// Each fighter's path steers by its player's actions; the computer's reads
// the second player's, as its combo recogniser always watched those keys.
void hand_actions_to_fighters(const frame_actions& held) {
  for (int k = 0; k < 2; ++k) {
    lifeform* l = lifeform_at(k);
    if (l && l->path) l->path->actions = held.player[l->path->player == 1 ? 1 : 0];
  }
}

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
  const bool frozen = (match && match->frozen()) || (training && training->frozen());

  const clock_type::time_point staging = part_done(measuring);
  lifeform* a = lifeform_at(0);
  lifeform* b = lifeform_at(1);
  if (a && b && g_level) {
    apply_camera(*g_level, fight_camera(*a, *b, screen_width(), screen_height(), g_level->max_width, g_level->scale), *a,
                 *b);
  }
  if (g_level) {
    g_level->advance(frozen);
    g_level->draw();
  }
  const clock_type::time_point staged = part_done(measuring);

  if (!frozen) {
    if (a && b) face_each_other(*a, *b);
    const int hp_before[2] = {a ? a->hp : 0, b ? b->hp : 0};
    body_contact();
    projectile_hits();
    if (fight_tracing()) trace_health(hp_before);
    draw_hit_outlines();
  }
  const clock_type::time_point hit = part_done(measuring);

  if (match) {
    match->step();
  } else if (training) {
    if (training->step()) quit = 1;
  } else {
    if (a && b) put_down_fallen(*a, *b);
    show_result();
  }
  const clock_type::time_point shown = part_done(measuring);
  if (match && match->frozen()) {
    match->draw_frozen_world();
  } else if (training && training->frozen()) {
    training->draw_frozen_world();
  } else {
    hand_actions_to_fighters(held);
    update_all_lifeforms();
    remove_dead_projectiles();
  }
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
    times.stage = ms_between(staging, staged);
    times.hits = ms_between(staged, hit);
    times.update = ms_between(shown, updated);
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

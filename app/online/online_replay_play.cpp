#include "app/online/online_replay_play.h"

#include <SDL.h>

#include <memory>
#include <string>

#include "app/dev/script_driver.h"
#include "app/fight/fight_loop.h"
#include "app/fight/fight_setup.h"
#include "app/fight/fight_text.h"
#include "app/fight/match_driver.h"
#include "app/frame_limiter.h"
#include "app/game_window.h"
#include "app/keep_until_exit.h"
#include "app/online/mixer_sound_sink.h"
#include "app/online/online_fight_game.h"
#include "app/online/online_match_setup.h"
#include "app/replay/replay_format.h"
#include "app/replay/replay_session.h"
#include "app/run_options.h"
#include "app/settings.h"
#include "app/text_renderer.h"
#include "app/video.h"
#include "core/config_file.h"
#include "core/log.h"
#include "core/quit_request.h"
#include "core/trig_tables.h"
#include "fight/fight_state.h"
#include "stage/level.h"

namespace {

bool open_window(const run_options& options, game_settings& settings) {
  if (!open_game_window(options, settings, "the game")) return false;
  watch_quit_requests();
  treat_escape_as_quit_request();
  SDL_WM_SetCaption("Veltmoore Brawl: online replay", "Replay");
  return true;
}

// Plays the fight's frames; 0 at the end or when stopped, 3 on a desync.
int play_frames(const replay_file& replay, const std::string& file, online_fight_game& game, match_driver& driver) {
  player_actions held[2] = {0, 0};  // p1, p2
  size_t next_action = 0, next_check = 0;
  for (long f = 0; f < replay.end_frame; ++f) {
    if (poll_quit_request()) {
      log_out("NOTICE: replay %s stopped by the player at frame %ld\n", file.c_str(), f);
      return 0;
    }
    while (next_action < replay.actions.size() && replay.actions[next_action].frame <= f) {
      const replay_action_event& e = replay.actions[next_action++];
      held[e.player] = e.held;
    }
    while (next_check < replay.checks.size() && replay.checks[next_check].frame <= f) {
      const replay_check& c = replay.checks[next_check++];
      const unsigned long long now = game.state_hash();
      if (c.frame == f && now != c.hash) {
        log_err("ERROR: replay %s desynchronised at frame %ld (line %d): fight state %016llx, recorded %016llx\n",
                file.c_str(), f, c.line, now, c.hash);
        return 3;
      }
    }
    g_video.clear_screen();
    game.present_frame = f;
    const player_actions inputs[2] = {held[1], held[0]};  // entry 0 is the guest's, p2
    game.step_confirmed(inputs);
    driver.draw_overlay();
    draw_fight_text(centred_text_x("REPLAY"), 40, "REPLAY");
    limiter().delay();
    g_video.present();
  }
  if (game.decided_frame < 0) {
    log_out("NOTICE: replay: match undecided at frame %ld\n", replay.end_frame);
  } else if (game.winner >= 0) {
    log_out("NOTICE: replay: match won by entry [%d], frame %d, state %016llx\n", game.winner, game.decided_frame,
            static_cast<unsigned long long>(game.decided_hash));
  } else {
    log_out("NOTICE: replay: match drawn, frame %d, state %016llx\n", game.decided_frame,
            static_cast<unsigned long long>(game.decided_hash));
  }
  log_out("NOTICE: replay %s ended at frame %ld, every check matched\n", file.c_str(), replay.end_frame);
  return 0;
}

}  // namespace

bool is_online_replay(const run_options& options) {
  return !options.replay.empty() && options.input && options.input->header.guest_fighter >= 0;
}

int play_online_replay(const run_options& given) {
  run_options options = given;
  std::string error;
  if (!prepare_replay_options(options, error)) {  // the build it was recorded by, its seed
    log_err("%s\n", error.c_str());
    return 2;
  }
  const replay_file& replay = *options.input;
  const replay_header& h = replay.header;
  config_file ini;
  ini.load("game\\game.ini");
  game_settings settings = read_settings(ini);
  apply_replay_settings(options, settings);  // its size and rate
  if (!install_script_driver(options, settings.fps, error)) {  // --frames and --screenshot
    log_err("%s\n", error.c_str());
    return 2;
  }
  limiter().set_enabled(!options.no_limiter);
  limiter().set_rate(settings.fps);
  if (!open_window(options, settings)) return 1;

  online_match_terms terms;
  terms.rounds = h.rounds;
  terms.round_time = h.round_time;
  terms.push_apart = h.push_apart != 0;
  terms.seed = h.seed;
  terms.fps = settings.fps;
  terms.hit_boxes = !settings.hide_hit_boxes;
  const match_rules rules = start_online_match(terms);

  text_renderer text;
  text.create(g_video.screen);
  text.open_font("rsrc\\Veranda.ttf");
  g_text = &text;
  if (!g_level) g_level = keep_until_exit(std::make_unique<level>());
  fill_trig_tables();
  int status = 0;
  {
    fight_setup setup;
    setup.build_paths(false);
    setup.build_controls();
    setup.costume_on_copies = true;
    setup.start_fight(h.fighter, h.guest_fighter);
    if (!quit_requested()) {
      match_driver driver(rules);
      fight_content content;
      mixer_sound_sink sounds;
      online_fight_game game(content, driver, sounds);
      status = play_frames(replay, options.replay, game, driver);
    }
    setup.release();
    setup.keep_fighters_until_exit();
  }
  g_text = nullptr;
  text.destroy();
  return status;
}

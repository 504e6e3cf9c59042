#include "app/online/online_fight.h"

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

#include "app/fight/app_fight_host.h"
#include "app/fight/fight_setup.h"
#include "app/fight/match_driver.h"
#include "app/fight/object_update.h"
#include "app/frame_limiter.h"
#include "app/input/frame_actions.h"
#include "app/keep_until_exit.h"
#include "app/online/mixer_sound_sink.h"
#include "app/online/online_desync.h"
#include "app/online/online_fight_game.h"
#include "app/online/online_frame_times.h"
#include "app/online/online_match_setup.h"
#include "app/online/online_replay.h"
#include "app/run_options.h"
#include "app/settings.h"
#include "app/sound_volumes.h"
#include "app/text_renderer.h"
#include "app/video.h"
#include "core/log.h"
#include "core/quit_request.h"
#include "core/seams.h"
#include "core/trig_tables.h"
#include "fight/fight_clock.h"
#include "fight/fight_options.h"
#include "fight/fight_state.h"
#include "fight/fight_state_hash.h"
#include "fight/fight_step.h"
#include "fight/match.h"
#include "fighter/sound_effect.h"
#include "net/rollback.h"
#include "net/session.h"
#include "stage/level.h"

namespace {

int rule_value(const net_welcome& match, const char* name, int fallback) {
  for (const net_rule& r : match.rules) {
    if (r.name == name) return r.value;
  }
  return fallback;
}

bool leaving() {
  const Uint8* keys = key_state();
  return poll_quit_request() || (keys && keys[SDLK_ESCAPE]);
}

// Each side sends its pick and waits for the other's; inputs that overtake
// the pick are kept for the engine.
bool exchange_picks(net_session& session, int mine, int& theirs, std::vector<net_inputs>& early) {
  net_pick pick;
  pick.fighter = static_cast<uint8_t>(mine);
  session.send_pick(pick);
  for (;;) {
    if (leaving()) {
      log_out("NOTICE: online: stopped by the player\n");
      return false;
    }
    session.service();
    if (session.state() == net_session_state::failed) {
      log_out("NOTICE: online: %s\n", session.error().c_str());
      return false;
    }
    net_message m;
    while (session.receive(m)) {
      if (m.kind == net_kind::inputs) early.push_back(m.inputs);
      if (m.kind == net_kind::match_end) {
        log_out("NOTICE: online: Opponent left\n");
        return false;
      }
      if (m.kind == net_kind::pick) {
        theirs = m.pick.fighter < roster_size ? m.pick.fighter : 0;
        return true;
      }
    }
    limiter().delay();
  }
}

// After the end, the other side may still lack our last inputs: keep
// sending them until it says it is done too, or for a second at most.
void linger(net_session& session, rollback_engine& engine, int fps) {
  for (int frame = 0; frame < fps && session.state() != net_session_state::failed; ++frame) {
    session.service();
    net_message m;
    bool done = false;
    while (session.receive(m)) {
      if (m.kind == net_kind::inputs) engine.receive(m.inputs);
      if (m.kind == net_kind::match_end) done = true;
    }
    if (done) break;
    session.send_inputs(engine.outgoing());
    SDL_Delay(1000 / (fps > 0 ? fps : 60));
  }
}

}  // namespace

int run_online_fight(net_session& session, const run_options& options, const game_settings& settings) {
  const net_welcome& match = session.match();
  const int mine = options.fighter >= 0 && options.fighter < roster_size ? options.fighter : 0;
  int theirs = 0;
  std::vector<net_inputs> early;
  if (!exchange_picks(session, mine, theirs, early)) return 0;
  const bool hosting = session.is_host();
  const int local_entry = hosting ? 1 : 0;
  const int host_pick = hosting ? mine : theirs;
  const int guest_pick = hosting ? theirs : mine;
  log_out("NOTICE: online: fight starts, host plays [%d] as entry 1, guest plays [%d] as entry 0\n", host_pick,
          guest_pick);

  // The host's rules and seed on both sides.
  online_match_terms terms;
  terms.rounds = rule_value(match, "rounds", settings.rounds);
  terms.round_time = rule_value(match, "round_time", settings.round_time);
  terms.push_apart = rule_value(match, "push_apart", settings.push_apart ? 1 : 0) != 0;
  terms.seed = match.seed;
  terms.fps = settings.fps;
  terms.hit_boxes = !settings.hide_hit_boxes;
  const match_rules rules = start_online_match(terms);

  g_video.start_audio();
  if (g_video.audio_ok && open_sound_mixer()) set_sound_volumes(settings.effects_volume, settings.music_volume, settings.mute);
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
    setup.start_fight(host_pick, guest_pick);
    if (quit_requested()) {
      log_out("NOTICE: online: stopped by the player\n");
      session.send_match_end({net_end_reason::quit, -1});
      setup.release();
      setup.keep_fighters_until_exit();
      g_text = nullptr;
      text.destroy();
      return 0;
    }
    match_driver driver(rules);
    fight_content content;
    mixer_sound_sink sounds;
    online_fight_game game(content, driver, sounds);
    rollback_engine engine(game, local_entry, options.input_delay);
    engine.set_events(&game.sound_ledger());
    engine.set_frame_rate(settings.fps);
    for (const net_inputs& m : early) engine.receive(m);
    online_replay replay;
    online_frame_times times(options.benchmark_frames);

    bool over = false;
    std::string ending;
    while (!over) {
      times.frame_begins();
      if (leaving()) {
        log_out("NOTICE: online: stopped by the player\n");
        session.send_match_end({net_end_reason::quit, -1});
        break;
      }
      session.service();
      if (session.state() == net_session_state::failed) {
        log_out("NOTICE: online: %s\n", session.error().c_str());
        ending = session.error();
        status = 0;
        break;
      }
      net_message m;
      while (session.receive(m)) {
        if (m.kind == net_kind::inputs) engine.receive(m.inputs);
        if (m.kind == net_kind::state_hash) engine.receive_hash(m.state_hash);
        if (m.kind == net_kind::match_end && m.match_end.reason == net_end_reason::quit) {
          log_out("NOTICE: online: Opponent left\n");
          over = true;
        }
      }
      if (over) break;
      engine.set_ping(session.ping_ms());

      game.present_frame = engine.frame();
      g_video.clear_screen();
      const bool stepped = engine.advance(read_frame_actions().player[0]);
      session.send_inputs(engine.outgoing());
      net_state_hash hash;
      if (engine.take_hash(hash)) session.send_state_hash(hash);
      replay.take_confirmed(engine);
      game.print_confirmed_lines(engine.confirmed_frame());
      if (engine.desync_frame() >= 0) {
        log_out("ERROR: online fight desynchronised at frame %d\n", engine.desync_frame());
        send_desync_state(session, game, engine.desync_frame());
        status = 1;
        break;
      }
      if (game.decided_frame >= 0 && engine.confirmed_frame() >= game.decided_frame) {
        replay.cut_after(game.decided_frame);
        if (game.winner >= 0) {
          log_out("NOTICE: online: match won by entry [%d], frame %d, state %016llx\n", game.winner,
                  game.decided_frame, static_cast<unsigned long long>(game.decided_hash));
        } else {
          log_out("NOTICE: online: match drawn, frame %d, state %016llx\n", game.decided_frame,
                  static_cast<unsigned long long>(game.decided_hash));
        }
        net_match_end end;
        end.winner = static_cast<int8_t>(game.winner);
        session.send_match_end(end);
        linger(session, engine, settings.fps);
        over = true;
      }
      if (stepped) driver.draw_overlay();
      // The side that runs ahead waits a little longer, so the other catches up without a pause.
      limiter().stretch((engine.frame_time_scale() - 1.0) * 1000.0 / settings.fps);
      times.waiting();
      limiter().delay();
      times.waited();
      if (stepped) g_video.present();
      times.frame_ends();
    }
    log_out("%s\n", rollback_stats_line(engine.stats()).c_str());
    times.print();
    replay.save(options, settings, match.seed, host_pick, guest_pick);
    if (status == 1 && engine.desync_frame() >= 0) write_desync_dump(session, game, engine.desync_frame(), hosting, options);
    setup.release();
    setup.keep_fighters_until_exit();
  }
  g_text = nullptr;
  text.destroy();
  return status;
}

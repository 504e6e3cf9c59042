#include "app/online/online_fight.h"

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

#include "app/fight/app_fight_host.h"
#include "app/fight/fight_setup.h"
#include "app/fight/fight_text.h"
#include "app/fight/hud_scale.h"
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

// What a fight changes for the whole run, put back when it ends: the menus
// after it read the real keyboard and clock again and play by their own rules.
class run_globals_kept {
 public:
  run_globals_kept()
      : rules_(current_match_rules()), feel_(current_fight_options()), seams_(seams()), text_(g_text) {}
  ~run_globals_kept() {
    set_match_rules(rules_);
    set_fight_options(feel_);
    seams() = seams_;
    g_text = text_;
  }
  run_globals_kept(const run_globals_kept&) = delete;
  run_globals_kept& operator=(const run_globals_kept&) = delete;

 private:
  match_rules rules_;
  fight_options feel_;
  input_seams seams_;
  text_renderer* text_;
};

// After the end, the other side may still lack our last inputs: keep
// sending them until it says it is done too, or for a second at most. What
// it says for after the match is kept.
void linger(net_session& session, rollback_engine& engine, int fps, online_fight_outcome& out) {
  for (int frame = 0; frame < fps && session.state() != net_session_state::failed; ++frame) {
    session.service();
    net_message m;
    bool done = false;
    while (session.receive(m)) {
      if (m.kind == net_kind::inputs) engine.receive(m.inputs);
      if (m.kind == net_kind::match_end || m.kind == net_kind::pick) done = true;
      if (m.kind == net_kind::pick || (m.kind == net_kind::match_end && m.match_end.reason != net_end_reason::match_over)) {
        out.for_later.push_back(m);
      }
    }
    if (done) break;
    session.send_inputs(engine.outgoing());
    SDL_Delay(1000 / (fps > 0 ? fps : 60));
  }
}

}  // namespace

void draw_online_ping(int ping_ms) {
  if (!g_video.screen) return;
  const std::string text = "ping " + std::to_string(ping_ms) + " ms";
  int w = 0, h = 0;
  fight_text_size(text.c_str(), w, h);
  draw_fight_text(g_video.screen->w - w - hud_px(8), g_video.screen->h - h - hud_px(6), text.c_str());
}

online_fight_outcome run_online_fight(net_session& session, const run_options& options, const game_settings& settings,
                                      const online_picks& picks, unsigned seed, const std::vector<net_inputs>& early) {
  const run_globals_kept kept;
  const net_welcome& match = session.match();
  online_fight_outcome out;
  const bool hosting = session.is_host();
  out.local_entry = hosting ? 1 : 0;
  log_out("NOTICE: online: fight starts, host plays [%d] as entry 1, guest plays [%d] as entry 0\n", picks.host,
          picks.guest);

  // The host's rules on both sides, and this fight's seed.
  online_match_terms terms;
  terms.rounds = rule_value(match, "rounds", settings.rounds);
  terms.round_time = rule_value(match, "round_time", settings.round_time);
  terms.push_apart = rule_value(match, "push_apart", settings.push_apart ? 1 : 0) != 0;
  terms.seed = seed;
  terms.fps = settings.fps;
  terms.hit_boxes = !settings.hide_hit_boxes;
  const match_rules rules = start_online_match(terms);
  limiter().set_rate(settings.fps);

  if (!g_video.audio_ok) {
    g_video.start_audio();
    if (g_video.audio_ok && open_sound_mixer()) set_sound_volumes(settings.effects_volume, settings.music_volume, settings.mute);
  }
  // The run's text renderer when there is one (from the menus), else one of the fight's own.
  text_renderer own_text;
  const bool own_font = !g_text;
  if (own_font) {
    own_text.create(g_video.screen);
    own_text.open_font("rsrc\\Veranda.ttf");
    g_text = &own_text;
  }
  if (!g_level) g_level = keep_until_exit(std::make_unique<level>());
  fill_trig_tables();

  {
    // A fight of its own each time: the next one starts from the same loaded
    // state on both sides, whatever this one's present frames left behind.
    fight_setup setup;
    setup.build_paths(false);
    setup.build_controls();
    setup.costume_on_copies = true;
    setup.start_fight(picks.host, picks.guest);
    if (quit_requested()) {
      log_out("NOTICE: online: stopped by the player\n");
      session.send_match_end({net_end_reason::quit, -1});
      setup.release();
      if (own_font) own_text.destroy();
      return out;
    }
    match_driver driver(rules);
    fight_content content;
    mixer_sound_sink sounds;
    online_fight_game game(content, driver, sounds);
    rollback_engine engine(game, out.local_entry, options.input_delay);
    engine.set_events(&game.sound_ledger());
    engine.set_frame_rate(settings.fps);
    for (const net_inputs& m : early) engine.receive(m);
    online_replay replay;
    online_frame_times times(options.benchmark_frames);

    bool over = false;
    bool theirs_done = false;
    while (!over) {
      times.frame_begins();
      if (leaving()) {
        log_out("NOTICE: online: stopped by the player\n");
        session.send_match_end({net_end_reason::quit, -1});
        out.end = online_fight_end::left;
        break;
      }
      session.service();
      // What came before a goodbye first: a quit that comes with the end of
      // the connection is the other side leaving, not a loss.
      net_message m;
      while (session.receive(m)) {
        if (m.kind == net_kind::inputs) engine.receive(m.inputs);
        if (m.kind == net_kind::state_hash) engine.receive_hash(m.state_hash);
        if (m.kind == net_kind::match_end && m.match_end.reason == net_end_reason::quit && !over) {
          log_out("NOTICE: online: Opponent left\n");
          out.end = online_fight_end::opponent_left;
          over = true;
        }
        // The other side has decided the match: it holds all our inputs up to the end.
        if (m.kind == net_kind::match_end && m.match_end.reason == net_end_reason::match_over) theirs_done = true;
        if (m.kind == net_kind::pick ||
            (m.kind == net_kind::match_end && m.match_end.reason != net_end_reason::match_over &&
             m.match_end.reason != net_end_reason::quit)) {
          out.for_later.push_back(m);
        }
      }
      if (over) break;
      if (session.state() == net_session_state::failed) {
        log_out("NOTICE: online: %s\n", session.error().c_str());
        out.end = online_fight_end::lost;
        break;
      }
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
        out.status = 1;
        out.end = online_fight_end::failed;
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
        if (!theirs_done) linger(session, engine, settings.fps, out);
        out.end = online_fight_end::decided;
        out.winner = game.winner;
        over = true;
      }
      if (stepped) {
        driver.draw_overlay();
        draw_online_ping(session.ping_ms());
      }
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
    replay.save(options, settings, seed, picks.host, picks.guest);
    if (out.end == online_fight_end::failed && engine.desync_frame() >= 0) {
      write_desync_dump(session, game, engine.desync_frame(), session.is_host(), options);
    }
    setup.release();
  }
  if (own_font) own_text.destroy();
  return out;
}

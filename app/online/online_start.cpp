#include "app/online/online_start.h"

#include <SDL.h>

#include <cstdlib>
#include <memory>
#include <ctime>
#include <random>
#include <string>

#include "app/dev/script_driver.h"
#include "app/fight/hud_scale.h"
#include "app/frame_limiter.h"
#include "app/game_window.h"
#include "app/online/online_fight.h"
#include "app/online/online_lobby.h"
#include "app/screens/title_screens.h"
#include "app/text_renderer.h"
#include "app/replay/replay_format.h"
#include "app/run_options.h"
#include "app/settings.h"
#include "app/video.h"
#include "app/viewer/viewer_overlay.h"
#include "core/config_file.h"
#include "core/log.h"
#include "core/quit_request.h"
#include "core/seams.h"
#include "net/data_hashes.h"
#include "net/session.h"

namespace {

bool open_window(const run_options& options, game_settings& settings) {
  config_file ini;
  ini.load("game\\game.ini");
  settings = read_settings(ini);
  g_video.flags = settings.flags;
  std::string error;
  if (!install_script_driver(options, settings.fps, error)) {
    log_err("%s\n", error.c_str());
    return false;
  }
  limiter().set_enabled(!options.no_limiter);
  limiter().set_rate(settings.fps);
  if (!open_game_window(options, settings, "the game")) return false;
  watch_quit_requests();
  SDL_WM_SetCaption("Veltmoore Brawl: online", "Online");
  return true;
}

net_session_setup session_setup(const run_options& options, const game_settings& settings) {
  net_session_setup setup;
  setup.build = replay_build_version;
  setup.files = hash_data_files(".");  // the run is in the data directory by now
  setup.match.seed = options.seeded ? options.seed : std::random_device()();
  setup.match.screen_w = static_cast<uint16_t>(settings.width);
  setup.match.screen_h = static_cast<uint16_t>(settings.height);
  setup.match.rules = {{"rounds", settings.rounds},
                       {"round_time", settings.round_time},
                       {"push_apart", settings.push_apart ? 1 : 0}};
  return setup;
}

std::string waiting_text(const run_options& options, const net_session& session) {
  switch (session.state()) {
    case net_session_state::waiting:
      return "Waiting for an opponent on port " + std::to_string(options.host_port);
    case net_session_state::connecting:
      return "Connecting to " + session.peer_address();
    default:
      return "Checking the game's data with " + session.peer_address();
  }
}

// The reason a session failed stays on screen a few seconds (Escape or a close
// request ends it sooner), so a player sees it without reading the log.
void show_failure(overlay_text& text, const game_settings& settings, const std::string& why) {
  const std::string prefix = "ERROR: online: ";
  std::string shown = why.compare(0, prefix.size(), prefix) == 0 ? why.substr(prefix.size()) : why;
  if (!shown.empty() && shown[0] >= 'a' && shown[0] <= 'z') shown[0] = static_cast<char>(shown[0] - 'a' + 'A');
  for (int frame = 0; frame < 3 * settings.fps; ++frame) {
    g_video.clear_screen();
    if (poll_quit_request() || key_state()[SDLK_ESCAPE]) break;
    text.line(hud_px(20), settings.height / 2 - hud_px(20), shown, true);
    text.line(hud_px(20), settings.height / 2 + hud_px(4), "Escape to leave");
    limiter().delay();
    g_video.present();
  }
}

// Once the session is ready: picks, fights and the menu after each, until
// someone leaves. Without `titles` (--fighter) one fight and no menus.
int play_session(net_session& session, const run_options& options, const game_settings& settings,
                 title_screens* titles) {
  online_inbox inbox;
  online_picks picks;
  online_next next = online_next::select;
  int fights = 0;
  int status = 0;
  for (;;) {
    if (next == online_next::select) {
      next = online_pick_fighters(session, titles, options.fighter, settings, inbox, picks);
      if (next != online_next::fight) break;
    }
    std::vector<net_inputs> early;
    early.swap(inbox.early);
    inbox.their_rematch = inbox.their_select = false;
    // Each fight of the session by its own seed, the same on both sides.
    const online_fight_outcome fight =
        run_online_fight(session, options, settings, picks, session.match().seed + static_cast<unsigned>(fights), early);
    ++fights;
    status = fight.status;
    for (const net_message& m : fight.for_later) inbox.note(m);
    if (fight.end != online_fight_end::decided || !titles) {
      next = fight.end == online_fight_end::opponent_left ? online_next::opponent_left
             : fight.end == online_fight_end::lost        ? online_next::lost
                                                           : online_next::left;
      break;
    }
    next = online_after_match(session, settings, fight, inbox);
    if (next != online_next::fight && next != online_next::select) break;
  }
  if (next == online_next::opponent_left && titles && !quit_requested()) show_online_notice(settings, "Opponent left");
  return status;
}

// From the session's start to its end: the waiting screen, then the play.
int run_session(const run_options& options, const game_settings& settings, title_screens* titles) {
  net_session session(session_setup(options, settings));
  const bool hosting = options.host_port >= 0;
  if (hosting ? !session.host(static_cast<uint16_t>(options.host_port))
              : !session.join(options.join_host, static_cast<uint16_t>(options.join_port))) {
    log_out("%s\n", session.error().c_str());
    overlay_text text;
    text.open(g_video.screen, hud_px(16));
    if (titles) show_failure(text, settings, session.error());
    text.close();
    return 1;
  }
  if (hosting) {
    log_out("NOTICE: online: waiting for an opponent on port %d\n", options.host_port);
  } else {
    log_out("NOTICE: online: connecting to %s\n", session.peer_address().c_str());
  }

  overlay_text text;
  text.open(g_video.screen, hud_px(16));
  int status = 0;
  limiter().set_rate(settings.fps);
  for (;;) {
    g_video.clear_screen();
    if (poll_quit_request() || key_state()[SDLK_ESCAPE]) {
      log_out("NOTICE: online: stopped by the player\n");
      break;
    }
    session.service();
    if (session.state() == net_session_state::failed) {
      const std::string& why = session.error();
      log_out("%s%s\n", why.compare(0, 6, "ERROR:") == 0 ? "" : "NOTICE: online: ", why.c_str());
      show_failure(text, settings, why);
      status = 1;
      break;
    }
    if (session.state() == net_session_state::ready) {
      log_out("NOTICE: online: session with %s ready, seed %u\n", session.peer_address().c_str(),
              session.match().seed);
      status = play_session(session, options, settings, titles);
      // "Connection lost" stays on screen as a failed connection's reason does.
      if (session.state() == net_session_state::failed && !quit_requested()) show_failure(text, settings, session.error());
      break;
    }
    text.line(hud_px(20), settings.height / 2 - hud_px(20), waiting_text(options, session));
    text.line(hud_px(20), settings.height / 2 + hud_px(4), "Escape to stop");
    limiter().delay();
    g_video.present();
  }
  session.close();
  text.close();
  return status;
}

}  // namespace

int run_online(const run_options& options) {
  game_settings settings;
  if (!open_window(options, settings)) return 1;
  text_renderer text;
  text.create(g_video.screen);
  text.open_font("rsrc\\Veranda.ttf");
  g_text = &text;
  // Without --fighter each side picks on its own select screen.
  std::unique_ptr<title_screens> titles;
  if (options.fighter < 0) {
    titles = std::make_unique<title_screens>();
    titles->fps = settings.fps;
    titles->shot_name_height = settings.shot_name_height;
  }
  const int status = run_session(options, settings, titles.get());
  titles.reset();
  g_text = nullptr;
  text.destroy();
  return status;
}

int run_online_from_menu(const run_options& options, const game_settings& settings, title_screens& titles) {
  // Both sides run in real time, scripted or not.
  const bool paced = limiter().enabled();
  limiter().set_enabled(!options.no_limiter);
  const int status = run_session(options, settings, &titles);
  limiter().set_enabled(paced);
  limiter().set_rate(titles.fps);
  return status;
}

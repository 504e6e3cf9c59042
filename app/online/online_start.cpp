#include "app/online/online_start.h"

#include <SDL.h>

#include <cstdlib>
#include <ctime>
#include <random>
#include <string>

#include "app/dev/script_driver.h"
#include "app/fight/hud_scale.h"
#include "app/frame_limiter.h"
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
  const bool hwaccel = options.opengl || (settings.hwaccel && !options.software);
  if (hwaccel) {
    g_video.flags |= SDL_OPENGL;
    if (!(g_video.flags & SDL_FULLSCREEN)) setenv("SDL12COMPAT_OPENGL_SCALING", "0", 0);
  }
  settle_bpp(settings, hwaccel);
  g_video.set_video_mode(settings.width, settings.height, settings.bpp);
  if (!g_video.video_ok) return false;
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

}  // namespace

int run_online(const run_options& options) {
  game_settings settings;
  if (!open_window(options, settings)) return 1;
  net_session session(session_setup(options, settings));
  const bool hosting = options.host_port >= 0;
  if (hosting ? !session.host(static_cast<uint16_t>(options.host_port))
              : !session.join(options.join_host, static_cast<uint16_t>(options.join_port))) {
    log_out("%s\n", session.error().c_str());
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
      // The match itself joins here (online_match.h); until then the session ends.
      log_out("NOTICE: online: the online fight is not playable yet; closing the session\n");
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

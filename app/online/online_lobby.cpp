#include "app/online/online_lobby.h"

#include <SDL.h>

#include <string>

#include "app/fight/fight_setup.h"
#include "app/fight/fight_text.h"
#include "app/fight/hud_scale.h"
#include "app/fight/menu.h"
#include "app/frame_limiter.h"
#include "app/screens/menu_panel.h"
#include "app/screens/select_screen.h"
#include "app/screens/title_screens.h"
#include "app/settings.h"
#include "app/video.h"
#include "core/log.h"
#include "core/quit_request.h"
#include "core/seams.h"
#include "net/session.h"
#include "stage/level.h"

namespace {

const char* const online_heading = "Online fight";

bool leaving() {
  const Uint8* keys = key_state();
  return poll_quit_request() || (keys && keys[SDLK_ESCAPE]);
}

online_next session_gone(const online_inbox& inbox) {
  return inbox.their_quit ? online_next::opponent_left : online_next::lost;
}

online_next leave(net_session& session, const char* how) {
  log_out("NOTICE: online: %s\n", how);
  session.send_match_end({net_end_reason::quit, -1});
  return online_next::left;
}

void show_panel(const char* heading, const std::vector<menu_panel_row>& rows, int selected) {
  g_video.clear_screen();
  if (g_level) g_level->draw();  // the stage of the last fight, when there was one
  draw_menu_panel(heading, rows, selected);
}

}  // namespace

bool online_inbox::take(net_session& session) {
  session.service();
  // What came before a goodbye is read first: a quit that arrives together
  // with the end of the connection is the other side leaving, not a loss.
  net_message m;
  while (session.receive(m)) note(m);
  if (their_quit) return false;
  if (session.state() == net_session_state::failed) {
    log_out("NOTICE: online: %s\n", session.error().c_str());
    return false;
  }
  return true;
}

void online_inbox::note(const net_message& m) {
  if (m.kind == net_kind::pick) {
    their_pick = m.pick.fighter < roster_size ? m.pick.fighter : 0;
  } else if (m.kind == net_kind::inputs) {
    if (belongs_to_next_fight(m.inputs)) early.push_back(m.inputs);
  } else if (m.kind == net_kind::match_end) {
    if (m.match_end.reason == net_end_reason::rematch) their_rematch = true;
    if (m.match_end.reason == net_end_reason::select) their_select = true;
    if (m.match_end.reason == net_end_reason::quit && !their_quit) {
      their_quit = true;
      log_out("NOTICE: online: Opponent left\n");
    }
  }
}

online_next online_pick_fighters(net_session& session, title_screens* titles, int fixed, const game_settings& settings,
                                 online_inbox& inbox, online_picks& picks) {
  inbox.their_rematch = inbox.their_select = false;
  int mine = fixed;
  if (titles) {
    // Loaded over the picture it holds, the backdrop would keep that one's
    // texture in OpenGL mode: it goes first.
    titles->backdrop.unload();
    titles->load_select_images();
    titles->use_backdrop(false);
    bool gone = false;
    // The session is looked after while the fade runs too.
    if (!quit_requested()) titles->backdrop_fade_in();
    gone = !inbox.take(session);
    const auto each_frame = [&]() {
      if (!inbox.take(session)) {
        gone = true;
        return false;
      }
      if (inbox.their_pick >= 0) {
        const char* note = "The opponent has picked";
        int w = 0, h = 0;
        fight_text_size(note, w, h);
        draw_fight_text(g_video.screen->w / 2 - w / 2, hud_px(10), note);
      }
      return true;
    };
    select_result chosen = {0, 1};
    if (!gone && !quit_requested()) {
      chosen = run_select_screen(*titles, titles->fps, true, "Online fight: choose your fighter", each_frame);
    } else {
      leave_select_screen(*titles, false);
    }
    limiter().set_rate(settings.fps);
    if (gone) return session_gone(inbox);
    if (chosen.quit) return leave(session, "stopped by the player");
    mine = chosen.selection;
  }
  net_pick pick;
  pick.fighter = static_cast<uint8_t>(mine >= 0 && mine < roster_size ? mine : 0);
  session.send_pick(pick);
  log_out("NOTICE: online: picked [%d], waiting for the opponent's pick\n", pick.fighter);
  while (inbox.their_pick < 0) {
    if (leaving()) return leave(session, "stopped by the player");
    if (!inbox.take(session)) return session_gone(inbox);
    if (inbox.their_pick >= 0) break;
    // A --fighter run has no screen to show: it only waits.
    if (titles) show_panel(online_heading, {{"Waiting for the opponent's pick", ""}}, -1);
    limiter().delay();
    if (titles) g_video.present();
  }
  const bool hosting = session.is_host();
  picks.host = hosting ? pick.fighter : inbox.their_pick;
  picks.guest = hosting ? inbox.their_pick : pick.fighter;
  inbox.their_pick = -1;
  return online_next::fight;
}

online_next online_after_match(net_session& session, const game_settings& settings, const online_fight_outcome& fight,
                               online_inbox& inbox) {
  const char* heading = fight.winner < 0 ? "Draw game" : fight.winner == fight.local_entry ? "You win" : "You lose";
  const std::vector<std::string> labels = {"Rematch", "Character select", "Quit"};
  std::vector<menu_panel_row> rows;
  for (const std::string& label : labels) rows.push_back({label, ""});
  menu items;
  items.open(labels, read_menu_keys(), menu_lock_frames(settings.fps));
  limiter().set_rate(settings.fps);
  bool waiting = false;
  for (;;) {
    if (poll_quit_request()) return leave(session, "stopped by the player");
    if (!inbox.take(session)) return session_gone(inbox);
    if (inbox.their_select) {
      log_out("NOTICE: online: the opponent chose Character select\n");
      return online_next::select;
    }
    if (waiting && inbox.their_rematch) {
      log_out("NOTICE: online: rematch\n");
      return online_next::fight;
    }
    const int choice = items.apply(read_menu_keys());
    if (choice == menu_escaped || (!waiting && choice == 2)) return leave(session, "quit after the match");
    if (!waiting && choice == 0) {
      session.send_match_end({net_end_reason::rematch, -1});
      waiting = true;
    } else if (!waiting && choice == 1) {
      session.send_match_end({net_end_reason::select, -1});
      return online_next::select;
    }
    if (waiting) {
      show_panel(heading, {{"Waiting for the opponent", ""}, {"Escape to leave", "", true}}, -1);
    } else {
      show_panel(heading, rows, items.selected);
    }
    g_video.present();
    limiter().delay();
  }
}

void show_online_notice(const game_settings& settings, const char* text) {
  menu any;
  any.open({text}, read_menu_keys());
  limiter().set_rate(settings.fps);
  for (int frame = 0; frame < 2 * settings.fps && !poll_quit_request(); ++frame) {
    if (any.apply(read_menu_keys()) != menu_nothing) break;
    show_panel(online_heading, {{text, ""}}, -1);
    g_video.present();
    limiter().delay();
  }
}

#include "app/arcade_run.h"

#include <SDL.h>

#include <algorithm>

#include "app/dev/script_driver.h"
#include "app/fight/fight_loop.h"
#include "app/fight/fight_setup.h"
#include "app/fight/fight_text.h"
#include "app/fight/match_driver.h"
#include "app/fight/match_round.h"
#include "app/fight/match_text.h"
#include "app/fight/menu.h"
#include "app/frame_limiter.h"
#include "app/music_player.h"
#include "app/screens/title_screens.h"
#include "app/video.h"
#include "core/log.h"
#include "core/quit_request.h"
#include "fight/match.h"
#include "fighter/computer_difficulty.h"
#include "fighter/lifeform.h"
#include "gfx/img_mgr.h"

std::vector<int> arcade_opponents(int picked, int roster) {
  std::vector<int> opponents;
  for (int k = 0; k < roster; ++k) {
    if (k != picked) opponents.push_back(k);
  }
  return opponents;
}

int arcade_level(int base, int round) {
  return std::min(std::max(base, 0) + std::max(round, 0), highest_difficulty);
}

std::string arcade_time_text(long frames, int fps) {
  const long seconds = fps > 0 && frames > 0 ? frames / fps : 0;
  const long s = seconds % 60;
  return std::to_string(seconds / 60) + ":" + (s < 10 ? "0" : "") + std::to_string(s);
}

namespace {

// Text centred on `centre_x`, its top at `y`.
void draw_text_centred_on(int centre_x, int y, const std::string& text) {
  int w = 0, h = 0;
  fight_text_size(text.c_str(), w, h);
  draw_fight_text(centre_x - w / 2, y, text.c_str());
}

// The closing screen, until Return, Space, Escape or a button: the picture,
// the champion's action shot on its left, the figures on its right.
void show_ending(const arcade_pictures& pictures, int picked, const std::string& fighter, const arcade_result& result,
                 int fps) {
  img_mgr picture, shot;
  if (!pictures.ending_file.empty()) picture.load(pictures.ending_file.c_str());
  if (picked >= 0 && picked < title_roster_size) shot.load(roster_action_shot_files[picked]);
  const std::vector<std::string> lines = {fighter + " is the champion", "Time: " + arcade_time_text(result.frames, fps),
                                          "Continues: " + std::to_string(result.continues), "",
                                          "RETURN: main menu"};
  menu any;
  any.open({"ok"}, read_menu_keys(true), menu_lock_frames(fps));
  limiter().set_rate(fps);
  while (!poll_quit_request() && g_video.screen) {
    const int w = g_video.screen->w, h = g_video.screen->h;
    const double zoom = picture.get_width() > 0 ? static_cast<double>(w) / picture.get_width() : 1.0;
    g_video.clear_screen();
    if (picture.get_width() > 0) picture.draw_zoomed(0, 0, g_video.screen, zoom);
    // On the painted podium (its top 400 rows down the 480-row picture).
    if (shot.get_width() > 0) {
      shot.draw_zoomed(static_cast<int>(40 * zoom), static_cast<int>(400 * zoom) - static_cast<int>(shot.get_height() * zoom),
                       g_video.screen, zoom);
    }
    draw_big_text_centred(h / 12, "Arcade cleared");
    int line_w = 0, line_h = 0;
    fight_text_size("Ag", line_w, line_h);
    for (size_t i = 0; i < lines.size(); ++i) {
      if (!lines[i].empty()) draw_text_centred_on(w * 7 / 10, h / 3 + static_cast<int>(i) * (line_h + 6), lines[i]);
    }
    g_video.present();
    limiter().delay();
    if (any.apply(read_menu_keys(true)) != menu_nothing) break;
  }
  picture.unload();
  shot.unload();
}

}  // namespace

arcade_result run_arcade(fight_setup& setup, bool& placed, int picked, const game_settings& s,
                         const arcade_pictures& pictures, const std::string& fight_music) {
  arcade_result result;
  const std::vector<int> opponents = arcade_opponents(picked, roster_size);
  const long started = presented_frames();
  arcade_fight& fight = current_arcade_fight();
  // A ladder is made of decided matches: without rounds or a clock, one round each.
  const match_rules rules_before = current_match_rules();
  if (!rules_before.on()) {
    match_rules one_round = rules_before;
    one_round.rounds = 1;
    set_match_rules(one_round);
  }
  for (size_t round = 0; round < opponents.size() && !quit_requested(); ++round) {
    const int level = arcade_level(s.difficulty, static_cast<int>(round));
    log_out("NOTICE: arcade fight [%d] of [%d]: roster position [%d] at level [%d]\n", static_cast<int>(round + 1),
            static_cast<int>(opponents.size()), opponents[round], level);
    set_computer_difficulty(level);
    setup.computer_position = opponents[round];
    fade_out_music();
    if (!placed) {
      setup.start_fight(picked);
      placed = true;
    } else {
      setup.change_fighters(picked);
      reset_for_next_round();
    }
    play_music(fight_music);
    if (quit_requested()) break;
    fight = arcade_fight();
    fight.on = true;
    fight.last = round + 1 == opponents.size();
    run_fight_loop();
    result.continues += fight.continues;
    const bool won = fight.won;
    fight = arcade_fight();
    if (!won) break;
    result.finished = round + 1 == opponents.size();
  }
  result.frames = presented_frames() - started;
  set_match_rules(rules_before);
  set_computer_difficulty(s.difficulty);
  setup.computer_position = 0;
  if (result.finished && !quit_requested()) {
    const lifeform* player = lifeform_at(1);
    log_out("NOTICE: arcade finished in [%s] with [%d] continues\n", arcade_time_text(result.frames, s.fps).c_str(),
            result.continues);
    show_ending(pictures, picked, player && !player->name.empty() ? player->name : "The fighter", result, s.fps);
  }
  return result;
}

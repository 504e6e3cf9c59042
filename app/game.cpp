#include "app/game.h"

#include <SDL.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <ctime>
#include <string>

#include "app/arcade_run.h"
#include "app/dev/ai_duel.h"
#include "app/dev/fight_benchmark.h"
#include "app/dev/script_driver.h"
#include "app/fight/fight_loop.h"
#include "app/fight/fight_setup.h"
#include "fight/fight_options.h"
#include "fight/match.h"
#include "app/fight/match_round.h"
#include "app/frame_limiter.h"
#include "app/keep_until_exit.h"
#include "app/music_player.h"
#include "app/online/online_start.h"
#include "app/replay/replay_session.h"
#include "app/screens/main_menu.h"
#include "app/screens/select_screen.h"
#include "app/screens/title_screens.h"
#include "app/settings.h"
#include "app/sound_volumes.h"
#include "app/text_renderer.h"
#include "app/training/training_session.h"
#include "app/user_settings.h"
#include "app/video.h"
#include "core/config_file.h"
#include "core/log.h"
#include "core/quit_request.h"
#include "core/seams.h"
#include "core/trig_tables.h"
#include "fighter/computer_difficulty.h"
#include "fighter/sound_effect.h"
#include "stage/level.h"

namespace {

// Training picked from the main menu: one endless fight by training's
// rules, then the match rules the menu's other fights play by again.
match_rules rules_before_training;

void begin_menu_training(const select_result& picked, int fps) {
  rules_before_training = current_match_rules();
  match_rules endless = rules_before_training;
  endless.rounds = endless.round_time = 0;
  set_match_rules(endless);
  request_training({true, picked.selection, picked.second_player >= 0 ? picked.second_player : 0, fps});
}

void end_menu_training() {
  set_match_rules(rules_before_training);
  request_training({});
}

// Online chosen on the main menu: the session to its end, then the main menu
// again, until something else is chosen there.
select_result play_online_until_other_choice(select_result picked, online_target& target, const run_options& options,
                                             game_settings& settings, title_screens& titles,
                                             const std::string& menu_music) {
  while (picked.online && !quit_requested()) {
    run_options online = options;
    online.fighter = -1;
    online.host_port = target.host_port;
    online.join_host = target.join_host;
    online.join_port = target.join_port;
    fade_out_music();
    run_online_from_menu(online, settings, titles);
    titles.close();  // as after a fight: the backdrop is loaded afresh below
    play_music(menu_music);
    titles.load_select_images();
    titles.use_backdrop(true);
    if (!quit_requested()) titles.backdrop_fade_in();
    picked = {0, 1};
    target = {};
    if (!quit_requested()) picked = run_main_menu(titles, settings, &target);
  }
  return picked;
}

}  // namespace

int run_game(const run_options& given) {
  run_options options = given;
  std::string error;
  if (!prepare_replay_options(options, error)) {  // a replay brings its own seed and fighter
    log_err("%s\n", error.c_str());
    std::exit(2);
  }
  // The computer opponent and every other random choice depend on this seed.
  std::srand(options.seeded ? options.seed : static_cast<unsigned>(std::time(nullptr)));

  // The one stage; it lives until the program ends.
  g_level = keep_until_exit(std::make_unique<level>());

  // Settings.
  config_file ini;
  ini.load("game\\game.ini");
  game_settings settings = read_settings(ini);
  // The player's own settings over game.ini's; a replay then brings its own.
  user_settings& player_file = run_user_settings();
  player_file.path = options.no_settings ? "" : (options.settings_file.empty() ? default_settings_path() : options.settings_file);
  char cwd[4096];  // the run is in the data directory by now
  player_file.data_dir = getcwd(cwd, sizeof cwd) ? cwd : ".";
  read_user_settings(player_file, settings);
  run_saved_settings() = settings;
  g_video.fullscreen_changed = remember_fullscreen;
  apply_replay_settings(options, settings);
  g_video.flags = settings.flags;
  // --difficulty outranks game.ini; a replay plays at the level it was recorded with.
  if (options.difficulty >= 0 && options.replay.empty()) settings.difficulty = options.difficulty;
  set_computer_difficulty(settings.difficulty);

  if (!install_script_driver(options, settings.fps, error)) {
    log_err("%s\n", error.c_str());
    return 2;
  }
  if (!start_replay_session(options, settings, error)) {
    log_err("%s\n", error.c_str());
    std::exit(2);
  }
  limiter().set_enabled(!options.no_limiter && options.script.empty());
  // Demo and benchmark runs have nobody at the result menu: the next match starts by itself.
  match_rules rules;
  rules.rounds = settings.rounds;
  rules.round_time = settings.round_time;
  rules.fps = settings.fps;
  rules.auto_continue = options.demo || options.benchmark_frames >= 0;
  // --fighter (demo and benchmark runs too) goes straight to the fight, menus or not.
  const bool training = options.training >= 0;
  const bool front_menu = settings.main_menu && options.fighter < 0 && !training;
  rules.main_menu = front_menu;
  // Training has no clock and no rounds: one endless fight.
  if (training) rules.rounds = rules.round_time = 0;
  set_match_rules(rules);
  if (training) request_training({true, options.training, options.dummy >= 0 ? options.dummy : 0, settings.fps});
  fight_options feel;
  feel.push_apart = settings.push_apart;
  feel.timing_figure = !settings.hide_timing_figure;
  feel.hit_boxes = !settings.hide_hit_boxes;
  set_fight_options(feel);

  // Devices.
  g_video.start_audio();
  if (g_video.audio_ok && open_sound_mixer()) set_sound_volumes(settings.effects_volume, settings.music_volume, settings.mute);
  g_video.start_joysticks(2);
  bool hwaccel = options.opengl || (settings.hwaccel && !options.software);
  if (hwaccel) {
    g_video.flags |= SDL_OPENGL;
    // The compatibility layer would draw into an offscreen buffer and copy it
    // at every swap; the game scales the picture itself (full screen opens
    // at the desktop's size). A value the player set wins.
    setenv("SDL12COMPAT_OPENGL_SCALING", "0", 0);
  }
  settle_bpp(settings, hwaccel);
  g_video.scale = settings.scale;
  g_video.smooth = settings.smooth;
  g_video.set_video_mode(settings.width, settings.height, settings.bpp);
  // No window, no game: a failure, told as one (the lines above say why).
  if (!g_video.video_ok) {
    log_err("ERROR: the game can't open its %d x %d x %d window; see the lines above\n", settings.width,
            settings.height, settings.bpp);
    return 1;
  }
  // From here on a quit request (window closed, SIGTERM, SIGINT) ends the run
  // after the frame it came in: every loop stops, the phases left are skipped.
  watch_quit_requests();
  SDL_WM_SetCaption("Veltmoore Brawl", "Veltmoore Brawl");

  // The one text renderer of the run; the fight code reaches it through g_text.
  text_renderer text;
  text.create(g_video.screen);
  text.open_font("rsrc\\Veranda.ttf");
  g_text = &text;

  // Logo and backdrop, the logo loaded, the rate set to fps.
  std::unique_ptr<title_screens> titles(new title_screens);
  titles->load_logo(settings.fps);
  titles->shot_name_height = settings.shot_name_height;

  // Music from the logo on: game.ini's for the menus, the stage file's for the fight.
  const std::string menu_music = ini.get_string("music");
  const std::string fight_music = data_file_value(fight_level_file, "music");
  play_music(menu_music);

  // Logo fade-in.
  titles->logo_fade_in();

  // The select screen's pictures and the backdrop, while the logo shows.
  if (!quit_requested()) titles->load_select_images();

  // Paths, controls and control maps, before the select screen.
  fight_setup setup;
  setup.build_paths(options.demo);
  setup.build_controls();

  // Lookup tables for the circling paths.
  fill_trig_tables();

  // Logo fade-out.
  if (!quit_requested()) titles->logo_fade_out();

  // Backdrop fade-in (the menus' own picture when there is a main menu and game.ini names one).
  if (front_menu) titles->menu_backdrop_file = ini.get_string("menu_backdrop");
  if (front_menu && !quit_requested()) titles->use_backdrop(true);
  if (!quit_requested()) titles->backdrop_fade_in();

  // Select screen. --fighter N (demo and benchmark runs) picks N without it.
  select_result picked = {0, 0};
  if (quit_requested()) {
    picked.quit = 1;
    leave_select_screen(*titles, false);
  } else if (options.fighter >= 0 || training) {
    picked.selection = training ? options.training : options.fighter;
    // The dummy stands where a second player would, steered by the training.
    if (training) picked.second_player = options.dummy >= 0 ? options.dummy : 0;
    leave_select_screen(*titles, false);
  } else if (front_menu) {
    online_target target;
    picked = run_main_menu(*titles, settings, &target);
    picked = play_online_until_other_choice(picked, target, options, settings, *titles, menu_music);
  } else {
    picked = run_select_screen(*titles, settings.fps);
  }

  // Close the title screens.
  titles->close();

  // A quit on the select screen skips the fight.
  if (!picked.quit) {
    // Fight set-up with the selected roster position (the computer plays
    // position 0, unless a second player joined and picked). A quit request
    // stops the loading between files.
    setup.costume_on_copies = settings.rounds > 0 || picked.second_player >= 0 || front_menu;
    arcade_pictures arcade_art;
    arcade_art.ending_file = ini.get_string("arcade_ending");
    bool placed = false;
    if (picked.training) begin_menu_training(picked, settings.fps);
    if (!picked.arcade) {
      fade_out_music();
      setup.start_fight(picked.selection, picked.second_player);
      play_music(fight_music);
      placed = true;
    }

    // The fight loop, at the rate `fps`, until Escape or a quit request;
    // --benchmark N runs N unpaced frames and prints figures. A quit request
    // during the loading leaves the fight unstarted. After a match the
    // player may go back to the select screen and pick again (backdrop,
    // select screen and closing the titles once more), then fight on the
    // same stage.
    if (placed && quit_requested()) {
      log_out("NOTICE: quit requested while loading, no fight\n");
    } else if (options.duel_level >= 0 || options.duel_walker) {
      run_ai_duel(options);
    } else if (options.benchmark_frames >= 0) {
      run_fight_benchmark(options.benchmark_frames);
    } else {
      // With the main menu, the end of a fight (Escape, the result menu's
      // Main menu) or of an arcade run goes back to it, and Escape on the
      // select screen too.
      fight_end end = picked.arcade ? (run_arcade(setup, placed, picked.selection, settings, arcade_art, fight_music),
                                       fight_end::quit)
                                    : run_fight_loop();
      if (picked.training) end_menu_training();
      while (end == fight_end::back_to_select || (front_menu && !quit_requested())) {
        play_music(menu_music);
        titles->load_select_images();
        titles->use_backdrop(end != fight_end::back_to_select && front_menu);
        if (!quit_requested()) titles->backdrop_fade_in();
        select_result again = {0, 1};
        online_target target;
        if (!quit_requested()) {
          again = end == fight_end::back_to_select ? run_select_screen(*titles, settings.fps)
                                                   : run_main_menu(*titles, settings, &target);
        }
        if (front_menu && end == fight_end::back_to_select && again.quit && !quit_requested()) {
          titles->load_select_images();
          titles->use_backdrop(true);
          titles->backdrop_fade_in();
          again = run_main_menu(*titles, settings, &target);
        }
        again = play_online_until_other_choice(again, target, options, settings, *titles, menu_music);
        titles->close();
        if (again.quit || quit_requested()) break;
        if (again.arcade) {
          run_arcade(setup, placed, again.selection, settings, arcade_art, fight_music);
          end = fight_end::quit;
          continue;
        }
        fade_out_music();
        if (again.training) begin_menu_training(again, settings.fps);
        if (placed) {
          setup.change_fighters(again.selection, again.second_player);
          reset_for_next_round();
        } else {
          setup.start_fight(again.selection, again.second_player);
          placed = true;
        }
        play_music(fight_music);
        end = run_fight_loop();
        if (again.training) end_menu_training();
      }
    }
  }

  // End of the run: the eighteen controls (reverse building order), then the
  // paths, the action shots, the symbols, the backdrop, the logo, and the text
  // renderer (closing its font). The fighters stay until the program ends.
  setup.release();
  setup.keep_fighters_until_exit();
  titles.reset();
  g_text = nullptr;
  text.destroy();
  return 0;
}

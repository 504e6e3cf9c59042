#include "app/viewer/viewer.h"

#include <SDL.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <vector>

#include "app/dev/script_driver.h"
#include "app/fight/fight_setup.h"
#include "app/fight/hud_scale.h"
#include "app/frame_limiter.h"
#include "app/game_window.h"
#include "app/keep_until_exit.h"
#include "app/settings.h"
#include "app/video.h"
#include "app/viewer/character_file_check.h"
#include "app/viewer/viewer_scene.h"
#include "core/config_file.h"
#include "core/log.h"
#include "core/quit_request.h"
#include "core/seams.h"
#include "fighter/sound_effect.h"
#include "stage/level.h"

namespace {

// Settings, clock, sound and the window, as a run of the game sets them up.
bool open_viewer_window(const run_options& options) {
  config_file ini;
  ini.load("game\\game.ini");
  game_settings settings = read_settings(ini);
  g_video.flags = settings.flags;
  std::string error;
  if (!install_script_driver(options, settings.fps, error)) {
    log_err("%s\n", error.c_str());
    return false;
  }
  limiter().set_enabled(!options.no_limiter && options.script.empty());
  limiter().set_rate(settings.fps);
  g_video.start_audio();
  if (g_video.audio_ok) open_sound_mixer();
  if (!open_game_window(options, settings, "the viewer")) return false;
  watch_quit_requests();
  SDL_WM_SetCaption("Veltmoore Brawl: fighter viewer", "Fighter viewer");
  return true;
}

// Key-down events of this frame by key; a press shorter than a frame shows
// only here. A quit request among them is recorded.
void take_key_events(std::vector<int>& presses) {
  presses.assign(SDLK_LAST, 0);
  SDL_Event event;
  while (SDL_PollEvent(&event) == 1) {
    note_taken_event(event);
    if (event.type == SDL_KEYDOWN && event.key.keysym.sym > 0 && event.key.keysym.sym < SDLK_LAST) {
      ++presses[event.key.keysym.sym];
    }
  }
}

void draw_texts(overlay_text& text, const viewer_scene& scene) {
  const int margin = hud_px(4);
  int y = margin;
  for (const std::string& line : scene.info_lines()) y = text.line(margin, y, line);
  const std::vector<problem_line>& problems = scene.fighter.problems;
  if (!problems.empty()) {
    char head[96];
    std::snprintf(head, sizeof head, "%d problem%s in the last load (the log has them all):",
                  static_cast<int>(problems.size()), problems.size() == 1 ? "" : "s");
    y = text.line(margin, y, head, true);
    const size_t shown = problems.size() < 8 ? problems.size() : 8;
    for (size_t i = 0; i < shown; ++i) {
      std::string line = problems[i].text;
      if (problems[i].times > 1) line += "  (" + std::to_string(problems[i].times) + " times)";
      y = text.line(margin, y, line, true);
    }
  }
  const int h = g_video.screen ? g_video.screen->h : 0;
  int bottom = h - margin - 2 * text.line_height();
  for (const char* help : viewer_help_lines) bottom = text.line(margin, bottom, help);
}

}  // namespace

std::string viewer_char_file(const run_options& options) {
  if (options.view >= 0 && options.view < roster_size) return roster_char_files[options.view];
  return options.view_file;
}

int run_viewer(const run_options& options) {
  if (options.view < 0) {
    const std::string why = why_not_a_character_file(options.view_file);
    if (!why.empty()) {
      log_err("ERROR: --view-file [%s] is not a character file: %s\n", options.view_file.c_str(), why.c_str());
      return 2;
    }
  }
  std::srand(options.seeded ? options.seed : static_cast<unsigned>(std::time(nullptr)));
  g_level = keep_until_exit(std::make_unique<level>());  // lives until the program ends, as in the game
  if (!open_viewer_window(options)) return 1;

  overlay_text text;
  text.open(g_video.screen, hud_px(12));

  // The stage the fighter stands on; its loading animation plays meanwhile.
  g_level->load(fight_level_file);
  if (poll_quit_request()) {
    text.close();
    return 0;
  }

  // The fight's combo keys, so the character file's combos bind as in a fight.
  fight_setup setup;
  setup.build_controls();
  viewer_scene scene;
  scene.fighter.controls[0] = setup.maps[0].get();
  scene.fighter.controls[1] = setup.maps[1].get();
  scene.start(viewer_char_file(options));
  log_out("viewer: ready at frame [%ld]\n", presented_frames());

  viewer_keys keys;
  std::vector<int> presses;
  bool quit = false;
  while (!quit) {
    g_video.clear_screen();
    if (poll_quit_request()) quit = true;
    take_key_events(presses);
    for (viewer_command c : keys.read(key_state(), presses.data(), game_ticks())) {
      if (c == viewer_command::quit) quit = true;
      scene.command(c);
    }
    scene.draw();
    draw_texts(text, scene);
    limiter().delay();
    g_video.present();
    if (poll_quit_request()) quit = true;
  }
  setup.release();
  text.close();
  return 0;
}

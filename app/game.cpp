#include "app/game.h"

#include <SDL.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "app/frame_limiter.h"
#include "app/script_driver.h"
#include "app/settings.h"
#include "app/video.h"
#include "core/config_file.h"
#include "core/log.h"
#include "core/seams.h"
#include "core/trig_tables.h"

int run_game(const run_options& options) {
  // 1. The computer opponent and every other random choice depend on this seed.
  std::srand(options.seeded ? options.seed : static_cast<unsigned>(std::time(nullptr)));

  // 3. Settings.
  config_file ini;
  ini.load("game\\game.ini");
  game_settings settings = read_settings(ini);
  g_video.flags = settings.flags;

  std::string error;
  if (!install_script_driver(options, settings.fps, error)) {
    log_err("%s\n", error.c_str());
    return 0;
  }
  limiter().set_enabled(!options.no_limiter && options.script.empty());

  // 4. Devices.
  g_video.start_audio();
  g_video.start_joysticks(2);
  bool hwaccel = options.opengl || (settings.hwaccel && !options.software);
  if (hwaccel) g_video.flags |= SDL_OPENGL;
  g_video.set_video_mode(settings.width, settings.height, settings.bpp);
  // 5. No window, no game.
  if (!g_video.video_ok) return 0;
  SDL_WM_SetCaption("Veltmoore Fighters", "Veltmoore Fighters");

  limiter().set_rate(settings.fps);

  // 12. Lookup tables for the circling paths.
  fill_trig_tables();

  // Until the title screens, the select screen and the fight exist the run
  // shows the start-up and ends.
  g_video.clear_screen();
  g_video.present();
  return 0;
}

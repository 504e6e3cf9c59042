#include "app/game_window.h"

#include <SDL.h>

#include <cstdlib>

#include "app/run_options.h"
#include "app/settings.h"
#include "app/video.h"
#include "core/log.h"

bool open_game_window(const run_options& options, game_settings& settings, const char* who) {
  const bool hwaccel = options.opengl || (settings.hwaccel && !options.software);
  g_video.flags = settings.flags;
  if (hwaccel) {
    g_video.flags |= SDL_OPENGL;
    if (!(g_video.flags & SDL_FULLSCREEN)) setenv("SDL12COMPAT_OPENGL_SCALING", "0", 0);
  }
  settle_bpp(settings, hwaccel);
  g_video.set_video_mode(settings.width, settings.height, settings.bpp);
  if (!g_video.video_ok) {
    log_err("ERROR: %s can't open its %d x %d x %d window; see the lines above\n", who, settings.width,
            settings.height, settings.bpp);
    return false;
  }
  return true;
}

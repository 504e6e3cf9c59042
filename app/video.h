// The program's one handle on the display and the input devices. Built during
// static initialisation (before main) and never destroyed; SDL is shut down at
// exit by SDL_Quit.
#pragma once
#include <SDL.h>

#include <cstdint>

#include "core/seams.h"
#include "gfx/screen.h"

class video {
 public:
  // The drawing half lives in gfx (g_screen) and the joystick flag beside the
  // input seams; these names stay for the start-up and presentation code.
  SDL_Surface*& screen = g_screen.screen;   // null until the mode is set
  SDL_Joystick* joysticks[2] = {nullptr, nullptr};  // only joystick 0 is read
  int sdl_ok = 0;       // every start operation refuses to run when 0
  int video_ok = 0;     // 1 once the mode is set
  int& joystick_ok = g_joystick_ready;  // 1 when at least one joystick was found
  int audio_ok = 0;     // 1 when the audio sub-system started
  uint32_t& flags = g_screen.flags;  // SDL video-mode flags, final before set_video_mode

  // Called around every present: scripted runs count frames, take screenshots
  // (before the buffers swap) and stop there. Null in a normal run.
  void (*before_present)() = nullptr;
  void (*after_present)() = nullptr;

  video();

  int start_audio();                    // 0, or -1 without SDL
  int start_joysticks(int limit);       // 0, or -1 without SDL; limit <= 2
  int set_video_mode(int width, int height, int bpp);  // 0, -1 without SDL, -2 no mode

  void clear_screen();
  void present();

  bool opengl() const { return g_screen.opengl(); }

  SDL_Surface* create_rgba_surface(int width, int height, int depth, uint32_t surface_flags) {
    return ::create_rgba_surface(width, height, depth, surface_flags);
  }
};

extern video g_video;

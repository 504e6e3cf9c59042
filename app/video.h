// The program's one handle on the display and the input devices. Built during
// static initialisation (before main) and never destroyed; SDL is shut down at
// exit by SDL_Quit.
#pragma once
#include <SDL.h>

#include <cstdint>

#include "app/display_fit.h"
#include "core/seams.h"
#include "gfx/screen.h"

class video {
 public:
  // The logical screen: what the game draws on, at the configured size, from
  // the first mode set to the end of the run (never replaced afterwards, so
  // pointers to it stay good). The window shows it scaled (present).
  // (The drawing half lives in gfx as g_screen; these names stay for the
  // start-up and presentation code.)
  SDL_Surface*& screen = g_screen.screen;   // null until the mode is set
  SDL_Joystick* joysticks[2] = {nullptr, nullptr};  // 1 is read only by a second player
  int sdl_ok = 0;       // every start operation refuses to run when 0
  int video_ok = 0;     // 1 once the mode is set
  int& joystick_ok = g_joystick_ready;  // 1 when at least one joystick was found
  int audio_ok = 0;     // 1 when the audio sub-system started
  uint32_t& flags = g_screen.flags;  // SDL video-mode flags, final before set_video_mode

  // Called around every present: scripted runs count frames, take screenshots
  // (before the buffers swap) and stop there. Null in a normal run.
  void (*before_present)() = nullptr;
  void (*after_present)() = nullptr;
  // Called when the player switched between window and full screen.
  void (*fullscreen_changed)(bool fullscreen) = nullptr;

  // Presentation: the window shows the logical screen scaled to fit, aspect
  // kept, black bars around it. Set before set_video_mode.
  int scale = 1;        // windowed: the window is this many times the logical screen, 1..8
  bool smooth = false;  // linear scaling instead of the nearest pixel
  // Filled by set_video_mode.
  SDL_Surface* window = nullptr;     // what SDL_SetVideoMode returned; changes with the window
  uint32_t window_flags = 0;         // flags of the window's mode (SDL_FULLSCREEN when full screen)
  int desktop_w = 0, desktop_h = 0;  // the desktop's resolution, read before the first mode
  // Time present spent scaling (benchmarks read it), in milliseconds.
  double scaling_ms_total = 0.0, scaling_ms_worst = 0.0;
  long scaled_frames = 0;

  video();

  int start_audio();                    // 0, or -1 without SDL
  int start_joysticks(int limit);       // 0, or -1 without SDL; limit <= 2
  int set_video_mode(int width, int height, int bpp);  // 0, -1 without SDL, -2 no mode

  void clear_screen();
  void present();

  bool opengl() const { return g_screen.opengl(); }
  bool fullscreen() const { return (window_flags & SDL_FULLSCREEN) != 0; }

  // Where the logical screen lands in the window.
  display_fit fit() const;
  // F11 / Alt+Enter and window resizes ask for these; they are done after the
  // next present, between frames.
  void request_fullscreen_toggle();
  void request_window_size(int w, int h);

  // A new surface with RGBA byte order (R at the lowest address on little-endian).
  SDL_Surface* create_rgba_surface(int width, int height, int depth, uint32_t surface_flags) {
    return ::create_rgba_surface(width, height, depth, surface_flags);
  }

 private:
  int logical_bpp = 32;
  int windowed_w = 0, windowed_h = 0;  // window size to come back to from full screen
  bool open_window(int width, int height, int bpp);
  bool set_window_mode(int w, int h, uint32_t mode_flags);
  void apply_window_requests();
  void show_scaled_gl();
  void set_gl_view();
};

extern video g_video;

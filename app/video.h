// The program's one handle on the display and the input devices. Built during
// static initialisation (before main) and never destroyed; SDL is shut down at
// exit by SDL_Quit.
#pragma once
#include <SDL.h>

#include <cstdint>

class video {
 public:
  SDL_Surface* screen = nullptr;             // null until the mode is set
  SDL_Joystick* joysticks[2] = {nullptr, nullptr};  // 1 is read only by a second player
  int sdl_ok = 0;       // every start operation refuses to run when 0
  int video_ok = 0;     // 1 once the mode is set
  int joystick_ok = 0;  // 1 when at least one joystick was found
  int audio_ok = 0;     // 1 when the audio sub-system started
  uint32_t flags = 0;   // SDL video-mode flags, final before set_video_mode

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

  bool opengl() const { return (flags & 0xA) != 0; }

  // A new surface with RGBA byte order (R at the lowest address on little-endian).
  SDL_Surface* create_rgba_surface(int width, int height, int depth, uint32_t surface_flags);
};

extern video g_video;

// True when the run draws through OpenGL (the flag word has SDL_OPENGL or SDL_OPENGLBLIT).
inline bool opengl_mode() { return g_video.opengl(); }

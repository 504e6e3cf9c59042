// The surface every picture is drawn to and the mode it is drawn in. The video
// start-up (app/video) fills this when it opens the window; until then the
// screen is null and drawing is in software mode.
#pragma once
#include <SDL.h>

#include <cstdint>

// Bits of the SDL video-mode flag word that mean "draw through OpenGL":
// SDL_OPENGL (0x2) or SDL_OPENGLBLIT (0xA).
constexpr uint32_t opengl_mode_bits = 0xA;

struct screen_state {
  SDL_Surface* screen = nullptr;  // the window's surface; null until the mode is set
  uint32_t flags = 0;             // SDL video-mode flag word; final before the mode is set
  void (*present)() = nullptr;    // shows the finished frame; set by the video start-up

  bool opengl() const { return (flags & opengl_mode_bits) != 0; }
};

// Constant-initialised, so it is usable by every other global's constructor.
extern screen_state g_screen;

// True when the run draws through OpenGL, false for plain surface blits.
inline bool opengl_mode() { return g_screen.opengl(); }

// Shows what has been drawn so far (loading screens draw and show in one
// step); does nothing before the video start-up.
void present_frame();

// A new surface with RGBA byte order (R at the lowest address on little-endian).
SDL_Surface* create_rgba_surface(int width, int height, int depth, uint32_t surface_flags);

// Plotting into SDL surfaces. Neither function locks the surface: the caller does.
#pragma once
#include <SDL.h>

#include <cstdint>

// `colour` is already in the surface's pixel format; points outside are skipped.
void put_pixel(SDL_Surface* surface, int x, int y, uint32_t colour);

// Both end points are drawn. The minor coordinate is rounded half up from a
// single-precision accumulator. `alpha` and `flags` are accepted for the
// callers' sake; the line is always opaque and unlocked.
void draw_line(SDL_Surface* surface, int x1, int y1, int x2, int y2, uint32_t colour,
               int alpha = 255, int flags = 0);

// What SDL_gfx's boxRGBA(surface, whole clip rectangle, white, alpha) does,
// pixel for pixel, without its per-pixel general path (a full-screen flash at
// 1920 x 1080 cost several milliseconds there). Locks the surface itself.
void whiten_surface(SDL_Surface* surface, uint8_t alpha);

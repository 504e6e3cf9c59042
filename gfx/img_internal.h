// Helpers shared by the image drawing files; not for use outside gfx/.
#pragma once
#include <SDL.h>

#include <cmath>
#include <climits>

#include "core/safe_trunc.h"


// Rectangle fields keep 16 bits, with wrap-around, like the SDL 1.2 rectangle.
inline Sint16 to_s16(int v) { return static_cast<Sint16>(static_cast<Uint16>(static_cast<unsigned>(v) & 0xFFFFu)); }
inline Uint16 to_u16(int v) { return static_cast<Uint16>(static_cast<unsigned>(v) & 0xFFFFu); }

// SDL_BlitSurface with the failure printed on standard error.
void blit_or_log(SDL_Surface* src, SDL_Rect* src_rect, SDL_Surface* dst, SDL_Rect* dst_rect);

// The blit of a draw onto its target. Surfaces made by conversions and zooms
// carry the blending flag at full opacity; with no alpha channel on either
// side that blends to exactly the source pixel, so (with the fast paths on)
// the flag is dropped for good and the blit takes the plain keyed path.
void blit_to_target(SDL_Surface* src, SDL_Rect* src_rect, SDL_Surface* dst, SDL_Rect* dst_rect);

// The textured-quad state of every image draw, up to (not including) the colour.
void begin_textured_quad(unsigned texture);
void end_textured_quad();

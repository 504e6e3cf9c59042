// Where the pictures of a frame went: while a list is set, every picture drawn
// to the screen (a blit, or a textured quad in OpenGL mode) notes the screen
// rectangle it covered, clipped to the screen. The fight benchmark draws its
// floor from these, so the floor shows exactly the pixels the frame did.
#pragma once
#include <SDL.h>

#include <vector>

// Starts noting into `into`; nullptr stops.
void record_drawn_rects(std::vector<SDL_Rect>* into);

// One picture's part of the screen; nothing when no list is set or it lies
// off the screen. A rectangle that continues the last one downwards, as wide
// and at the same x (the rows of a tilted floor), lengthens it instead.
void note_drawn_rect(int x, int y, int w, int h);

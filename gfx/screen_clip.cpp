#include "gfx/screen_clip.h"

#include <SDL_opengl.h>

#include <algorithm>

#include "gfx/screen.h"

screen_rows_clip::screen_rows_clip(int top, int bottom) {
  SDL_Surface* s = g_screen.screen;
  if (!s) return;
  top = std::max(0, std::min(top, s->h));
  bottom = std::max(top, std::min(bottom, s->h));
  if (opengl_mode()) {
    // The screen fills the viewport with its top row highest: rows [top,
    // bottom) are the viewport's from (h - bottom) / h to (h - top) / h.
    GLint view[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, view);
    const int from = s->h > 0 ? (s->h - bottom) * view[3] / s->h : 0;
    const int to = s->h > 0 ? (s->h - top) * view[3] / s->h : 0;
    glEnable(GL_SCISSOR_TEST);
    glScissor(view[0], view[1] + from, view[2], to - from);
    return;
  }
  SDL_Rect rows = {0, static_cast<Sint16>(top), static_cast<Uint16>(s->w), static_cast<Uint16>(bottom - top)};
  SDL_SetClipRect(s, &rows);
}

screen_rows_clip::~screen_rows_clip() {
  SDL_Surface* s = g_screen.screen;
  if (!s) return;
  if (opengl_mode()) {
    glDisable(GL_SCISSOR_TEST);
  } else {
    SDL_SetClipRect(s, nullptr);
  }
}

#include "app/fight/hud_box.h"

#include <SDL.h>
#include <SDL_gfxPrimitives.h>
#include <SDL_opengl.h>

#include "app/video.h"

void fill_hud_box(int x, int y, int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha) {
  if (w <= 0 || h <= 0 || !g_video.screen) return;
  if (opengl_mode()) {
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4ub(r, g, b, alpha);
    glBegin(GL_QUADS);
    glVertex2i(x, y);
    glVertex2i(x + w, y);
    glVertex2i(x + w, y + h);
    glVertex2i(x, y + h);
    glEnd();
    glDisable(GL_BLEND);
    glColor4ub(255, 255, 255, 255);
    return;
  }
  // SDL_gfx clips to the surface; its corners are inclusive.
  boxRGBA(g_video.screen, static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Sint16>(x + w - 1),
          static_cast<Sint16>(y + h - 1), r, g, b, alpha);
}

#include "gfx/drawn_rects.h"

#include <algorithm>

#include "gfx/screen.h"

namespace {
std::vector<SDL_Rect>* recording = nullptr;
}  // namespace

void record_drawn_rects(std::vector<SDL_Rect>* into) { recording = into; }

void note_drawn_rect(int x, int y, int w, int h) {
  if (!recording || !g_screen.screen) return;
  const int x0 = std::max(0, x), y0 = std::max(0, y);
  const int x1 = std::min(g_screen.screen->w, x + w), y1 = std::min(g_screen.screen->h, y + h);
  if (x1 <= x0 || y1 <= y0) return;
  if (!recording->empty()) {
    SDL_Rect& last = recording->back();
    if (last.x == x0 && last.w == x1 - x0 && last.y + last.h == y0) {
      last.h = static_cast<Uint16>(last.h + (y1 - y0));
      return;
    }
  }
  recording->push_back(SDL_Rect{static_cast<Sint16>(x0), static_cast<Sint16>(y0), static_cast<Uint16>(x1 - x0),
                                static_cast<Uint16>(y1 - y0)});
}

#include "gfx/screen.h"

screen_state g_screen;

void present_frame() {
  if (g_screen.present) g_screen.present();
}

SDL_Surface* create_rgba_surface(int width, int height, int depth, uint32_t surface_flags) {
  return SDL_CreateRGBSurface(surface_flags, width, height, depth, 0x000000FF, 0x0000FF00,
                              0x00FF0000, 0xFF000000);
}

// The window and timing settings read from game\game.ini.
#pragma once
#include <cstdint>

class config_file;

struct game_settings {
  int width = 640;
  int height = 480;
  int bpp = 32;
  int fps = 60;
  uint32_t flags = 0x40000001u;  // SDL_HWSURFACE | SDL_DOUBLEBUF, plus fullscreen
  bool hwaccel = false;          // adds SDL_OPENGL once the devices have started
};

// A key counts only when present and non-zero. Prints the lines for height,
// bpp and fps when they are set. Values outside what a window can be are
// refused with a WARNING and the default is kept.
game_settings read_settings(const config_file& ini);

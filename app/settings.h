// The window and timing settings read from game\game.ini.
#pragma once
#include <string>
#include <cstdint>

class config_file;

struct game_settings {
  int width = 640;
  int height = 480;
  int bpp = 32;
  int fps = 60;
  uint32_t flags = 0x40000001u;  // SDL_HWSURFACE | SDL_DOUBLEBUF, plus fullscreen
  bool hwaccel = false;          // adds SDL_OPENGL once the devices have started
  // Matches; 0 (absent) keeps the one endless fight.
  int rounds = 0;       // 1..9: rounds a fighter must win to take the match
  int round_time = 0;   // 10..999: seconds on the round clock
  int difficulty = 0;   // 1..5: the computer opponent's level (0: its one classic level)
  int scale = 1;                 // the window is this many times the screen (1..8)
  bool smooth = false;           // scaled with linear filtering instead of whole pixels
  int effects_volume = 10;       // 0..10: sound effects, 10 as loud as the mixer plays
  int music_volume = 10;         // 0..10: the music
  bool mute = false;             // neither effects nor music
  bool push_apart = false;          // fighters on the floor can't walk through each other
  bool hide_timing_figure = false;  // no frame-timing number in the fight
  bool hide_hit_boxes = false;      // OpenGL mode: no hit-box outlines in the fight
  bool main_menu = false;           // a main menu (Arcade, Versus, Replays, Options, Quit) after the titles
  int shot_name_height = 0;         // 1..1000: rows at the top of each action shot holding the fighter's
                                    // painted name; the select screen's circling copies leave them clear
  std::string online_address;       // the player's settings only: the last HOST:PORT joined online
};

// Screen sizes the platform draws: a 32-bit row of SDL 1.2 holds at most 16383
// pixels (16-bit pitch), and software drawing costs in proportion to the
// frame's pixels: 4096 x 2048 took 190 ms a frame, so frames stay within
// 1920 x 1200 (about 45 ms on a loaded machine, 7.5 times 640 x 480).
constexpr int max_screen_side = 16383;
constexpr long long max_screen_pixels = 1920LL * 1200LL;
constexpr int max_fps = 200;  // SDL_gfx's frame-rate limiter accepts 1..200

// A key counts only when present and non-zero. Prints the lines for height,
// bpp and fps when they are set. Values outside what a window can be are
// refused with a WARNING and the default is kept (a size whose area is too
// large keeps 640 x 480).
game_settings read_settings(const config_file& ini);

// Whether a `bpp` runs at full speed in the drawing mode: software mode draws
// only at 32 bits (at 16 and 24 every blit converts, 8 crashes SDL_gfx, 15
// can't be set); in OpenGL mode `bpp` is the depth buffer's size, 16, 24 or 32.
bool bpp_usable(int bpp, bool opengl);
// Once the drawing mode is known: a `bpp` that doesn't run is refused with a
// WARNING and 32 is kept.
void settle_bpp(game_settings& settings, bool opengl);

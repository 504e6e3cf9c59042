// One line of TrueType text on the screen: blitted in software mode, drawn as
// one textured quad (a texture made and deleted per draw) in OpenGL mode.
// Text is in screen pixels, unaffected by the camera.
#pragma once
#include <SDL.h>
#include <SDL_ttf.h>

class text_renderer {
 public:
  TTF_Font* font = nullptr;
  SDL_Surface* rendered = nullptr;        // the string being drawn; freed at the end of each draw
  SDL_Surface* target_surface = nullptr;  // where software mode blits (the screen)
  int font_open = 0;                      // 1 while `font` holds an open font
  int point_size = 18;
  SDL_Color fg = {255, 255, 255, 0};      // text colour
  SDL_Color bg = {0, 0, 0, 0};            // box colour of shaded rendering
  int solid = 0;                          // 1: no background box; 0: opaque box
  int style = TTF_STYLE_NORMAL;           // applied when a font is opened
  int x = 4, y = 4;                       // top-left of the next draw; callers set them before each draw

  void create(SDL_Surface* target);
  void open_font(const char* path);
  void draw_text(const char* text);
  void destroy();
};

// Texture size for a rendering of w x h pixels: the smallest powers of two not below them.
void text_texture_size(int w, int h, int& texture_w, int& texture_h);

// The main routine's text renderer, set by run_game once it is created and
// cleared when it is destroyed; the fight code draws its messages through it.
// Null outside a run.
extern text_renderer* g_text;

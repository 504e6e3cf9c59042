// One picture of the game (logo, backdrop, fighter pose, animation frame, stage
// layer): its pixels through a counted holder so copies can share them, its
// OpenGL texture once drawn in OpenGL mode, and the drawing state callers set
// between draws (rectangles, mirroring, opacity, zoomed copies).
#pragma once
#include <SDL.h>

#include <cstdint>
#include <vector>

#include "core/counted_ptr.h"

// Holder of one SDL surface. Its surface is freed only by a release that takes
// the count below zero, not one that brings it to zero.
struct shared_surface {
  SDL_Surface* surface = nullptr;
  int32_t ref_count = 0;
  // Set by the software upload's one extra release, so a holder shared by
  // several images is never released twice for it.
  bool upload_released = false;

  void add_ref() { ++ref_count; }
  void release();
  void set_surface(SDL_Surface* s);
  void apply_colour_key();
};

// A zoomed copy of a picture for software drawing, looked up by
// trunc(zoom x 25) and orientation. Shared between an image and its copies.
struct zoom_entry {
  SDL_Surface* surface = nullptr;
  int32_t zoom_key = 0;
  uint32_t flipped = 0;
};

// img_mgr::texture of a picture with no OpenGL texture (never uploaded, or freed).
constexpr uint32_t no_texture = 0xFFFFFFFFu;

// Flags of the keyed staging surfaces the software drawing converts through:
// SDL_HWSURFACE | SDL_SRCCOLORKEY | SDL_SRCALPHA.
constexpr uint32_t keyed_staging_flags = 0x11001;

// One colour of a picture replaced by another (a costume is a list of them).
struct colour_swap {
  uint32_t from;  // 24-bit 0xRRGGBB
  uint32_t to;    // a pixel value; its low three bytes are written
};

class img_mgr {
 public:
  int32_t ref_count = 0;                 // bookkeeping for counted_ptr only
  counted_ptr<shared_surface> surface;   // the picture as shown; empty after a GL upload
  counted_ptr<shared_surface> mirror;    // mirrored picture, made by the first software flip
  SDL_Rect dest_rect = {0, 0, 0, 0};     // where the picture goes on the target
  SDL_Rect src_rect = {0, 0, 0, 0};      // which part of the picture is drawn
  uint32_t flipped = 0;                  // 1: shown mirrored
  std::vector<zoom_entry*> zoom_cache;   // entries live until the program ends
  uint32_t no_zoom_cache = 0;            // non-zero: zoomed copies are made per draw and freed
  char name[256] = {0};                  // file name given to load
  uint32_t texture = no_texture;         // OpenGL texture name
  int32_t texture_width = 0, texture_height = 0;  // powers of two
  int32_t width = 0, height = 0;         // size as loaded, pixels
  uint32_t alpha = 255;                  // opacity; the low byte is used when drawing

  img_mgr() = default;
  img_mgr(const img_mgr& src);
  img_mgr& operator=(const img_mgr& src);
  ~img_mgr();

  void add_ref() { ++ref_count; }
  void release() { --ref_count; }

  void load(const char* path);
  void unload();
  // Every swap in turn on every pixel, in one pass and one copy: the
  // intermediate pictures of a costume are never made or kept.
  void swap_colours(const std::vector<colour_swap>& swaps);
  void swap_colour(uint32_t from, uint32_t to) { swap_colours({{from, to}}); }
  void flip();
  void set_alpha(uint32_t a);
  int get_width() const { return width; }
  int get_height() const { return height; }

  // Drawing (texture upload in OpenGL mode, keyed blits in software mode).
  void upload();
  void draw(int x, int y);
  void draw_to(int x, int y, SDL_Surface* target);
  void draw_zoomed(int x, int y, SDL_Surface* target, double zoom);
  void draw_depth(int x, int y, SDL_Surface* target, double zoom, double depth);

  bool has_texture() const { return texture != no_texture; }
  SDL_Surface* pixels() const { return surface.get() ? surface.get()->surface : nullptr; }
};

// The limits a picture meets at load (max_picture_side, max_picture_pixels,
// max_total_picture_pixels) are in gfx/pixel_share.h.

// Smallest power of two not below n (1 for n <= 1).
int texture_size_for(int n);
// How many images hold OpenGL texture `texture`: a copy shares its source's.
int texture_holders(uint32_t texture);
// trunc(zoom x 25): the zoom-cache key.
int zoom_key_for(double zoom);

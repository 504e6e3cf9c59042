// The fast software path of draw_zoomed and draw_depth, taken by every zoomed
// draw while it is on (the default): instead of zooming the whole picture,
// only the window that reaches the target is built, at the exact zoom, into a
// reused buffer, and blitted without the blending path when blending could
// not change a pixel. Nothing is kept between frames. The output is the same,
// pixel for pixel, as zooming the whole picture at that zoom and blitting it
// (tests compare the two); the kept zoomed copies of the straightforward path
// are made once per 4% zoom step and so lag the camera.
#pragma once
#include <SDL.h>

#include <vector>

class img_mgr;

// On by default; tests and benchmarks switch it off to get the straightforward path
// (kept zoomed copies for pictures that allow them).
bool zoom_fast_path();
void set_zoom_fast_path(bool on);

// Draws as draw_zoomed (depth 0) or draw_depth (depth > 0) would in software
// mode, rectangles included. False when the case is not covered (the caller
// then takes the straightforward path); nothing has been changed then.
bool zoom_window_draw(img_mgr& img, int x, int y, SDL_Surface* target, double zoom, double depth);

// True when a zoomed draw of `img` at `zoom` must take the window path: the
// zoomed copy would be larger than the screen or the budget for kept zoomed
// copies (gfx/pixel_share.h), and no copy for this zoom is kept already.
bool zoom_window_needed(const img_mgr& img, double zoom);

// Which source line feeds each line of a picture of `n` lines zoomed by
// `zoom` the way rotozoomSurface does it without smoothing; its size is the
// zoomed size. Measured from rotozoomSurface itself, so it cannot drift from it.
const std::vector<int>& zoom_line_map(int n, double zoom);

// What SDL_BlitSurface does with the rectangles: the source part actually read
// and where it lands. `dst_out` is what the blit writes back into the caller's
// destination rectangle.
struct blit_plan {
  int sx = 0, sy = 0, w = 0, h = 0;  // part of the source read
  int dx = 0, dy = 0;                // where it lands
  SDL_Rect dst_out = {0, 0, 0, 0};
  bool visible() const { return w > 0 && h > 0; }
};
blit_plan plan_blit(int src_w, int src_h, const SDL_Rect& src_rect, const SDL_Rect& clip, const SDL_Rect& dst_rect);

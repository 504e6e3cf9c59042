// Drawing the stage under the fight camera: stacked pieces, parallax layers,
// the tilted floor, and the shake and flash effects.
#include <GL/gl.h>

#include <climits>
#include <cmath>

#include "anim/data_bounds.h"
#include "core/log.h"
#include "gfx/primitives.h"
#include "gfx/screen.h"
#include "stage/level.h"
#include "stage/stage_backdrop.h"
#include "stage/stage_window.h"

namespace {

constexpr double floor_depth = 0.17;

// Rectangle fields are 16-bit: values wrap as the picture code expects.
Sint16 rect_pos(int v) { return static_cast<Sint16>(v); }
Uint16 rect_len(int v) { return static_cast<Uint16>(v); }

// In OpenGL mode the screen surface is not shown: the flash is a blended quad.
void draw_gl_flash(int width, int height, Uint8 alpha) {
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4ub(255, 255, 255, alpha);
  glBegin(GL_QUADS);
  glVertex2i(0, 0);
  glVertex2i(width, 0);
  glVertex2i(width, height);
  glVertex2i(0, height);
  glEnd();
  glDisable(GL_BLEND);
  glColor4ub(255, 255, 255, 255);
}

// An OpenGL quad takes its size from dest_rect while its texels come from
// src_rect: a screen-wide window of a wide picture must get a screen-wide quad,
// or it is stretched. Software blits size themselves from src_rect anyway.
void fit_quad_to_window(img_mgr& picture) {
  if (opengl_mode()) picture.dest_rect.w = picture.src_rect.w;
}

// A zoomed layer's window at the scroll the parallax asks for, kept inside its
// picture: the part of the picture that reaches the screen never runs past an
// edge (past it the screen would stay uncovered). Where the asked-for window
// lies inside already, it is used as it is.
void set_layer_window(img_mgr& picture, int x, int y, int span, int bottom, int screen_h, double zoom) {
  const int margin = window_margin(opengl_mode(), zoom);
  picture.src_rect.x = rect_pos(clamp_window_x(x, span, picture.width, margin));
  picture.src_rect.y = rect_pos(clamp_window_y(y, picture.height, bottom, screen_h, zoom, margin));
  picture.src_rect.w = rect_len(span < picture.width ? span : picture.width);
  // A software blit scales the window's height down (truncating) while the
  // zoomed picture's height is rounded, so a window exactly as tall as the
  // picture can stop a row short of the bottom edge. The blit reads only what
  // lies inside the picture, so the window may end past that edge instead. (An
  // OpenGL quad keeps its bottom edge exactly; its texture is not read past.)
  if (!opengl_mode() && zoom > 0.0) {
    picture.src_rect.h = rect_len(picture.height + static_cast<int>(std::ceil(1.0 / zoom)));
  }
}

}  // namespace

// The backdrop placed as the ground piece (the last of plist) is drawn, so
// its colours line up with the rows of the piece beside them.
void level::paint_ground_backdrop(int screen_w, int screen_h, double dy) const {
  if (plist.empty()) {
    paint_backdrop(edge_rows, 0, screen_h, 1.0, screen_w, screen_h);
    return;
  }
  const size_t k = plist.size() - 1;
  const img_mgr& piece = plist[k];
  const int h = piece.height;
  const int bottom = base_y + h;  // the last piece sits at base_y
  const layered_segment* segment = k < layered_segments.size() ? layered_segments[k].get() : nullptr;
  const int n = segment ? static_cast<int>(segment->layers.size()) : 0;
  if (n == 0) {
    paint_backdrop(edge_rows, 0, bottom, 1.0, screen_w, screen_h);
    return;
  }
  const int window_y = clamp_window_y(trunc_to_int(scroll_y / (n + 1.0) - n * dy), h, bottom, screen_h, zoom,
                                      window_margin(opengl_mode(), zoom));
  paint_backdrop(edge_rows, window_y, bottom, zoom, screen_w, screen_h);
}

void level::advance(bool held) {
  zoom = zoom * scale;
  flash_shown = flash;
  if (held) return;

  // The offset alternates sign and moves one pixel toward zero per tick.
  if (shake == INT_MIN) shake = INT_MIN + 1;
  shake = -shake;
  if (shake < 0) {
    shake += 1;
  } else if (shake > 0) {
    shake -= 1;
  }

  // The flash fades by flash_rate per tick; a rate of 0 holds it.
  if (flash != 0) {
    long long faded = static_cast<long long>(flash) - flash_rate;
    if (faded < 0) faded = 0;
    if (faded > INT_MAX) faded = INT_MAX;
    flash = static_cast<int>(faded);
  }
}

void level::draw() const {
  SDL_Surface* screen = g_screen.screen;
  if (!screen) return;
  const int screen_w = screen->w;
  const int screen_h = screen->h;

  if (loading) log_out("looping through sz[%d] worth of pickles\n", total_height);

  const double dx = (max_width - screen_w) / 4;
  const double dy = (max_height - screen_h) / 4;

  if (fill_uncovered && !edge_rows_read && !plist.empty()) {
    std::vector<const img_mgr*> pictures{&plist.back()};
    const size_t k = plist.size() - 1;
    if (k < layered_segments.size() && layered_segments[k]) {
      for (int index : layered_segments[k]->layers) {
        if (index >= 0 && index < static_cast<int>(images.size())) pictures.push_back(&images[index]);
      }
    }
    edge_rows = edge_colours(pictures, plist.back().height);
    edge_rows_read = true;
  }
  if (fill_uncovered && !covers_screen(screen_w, screen_h, zoom)) paint_ground_backdrop(screen_w, screen_h, dy);

  int remaining = total_height;
  for (size_t k = 0; k < plist.size(); ++k) {
    img_mgr& piece = plist[k];
    const int h = piece.height;
    const int r = remaining;
    remaining -= h;
    piece.src_rect.w = rect_len(screen_w);
    piece.src_rect.x = piece.dest_rect.x = rect_pos(clamp_window_x(shake + scroll_x, screen_w, piece.width, 0));

    const int y = base_y - r + h;
    if (y <= -h || y >= screen_h) continue;

    const layered_segment* segment = k < layered_segments.size() ? layered_segments[k].get() : nullptr;
    const int n = segment ? static_cast<int>(segment->layers.size()) : 0;
    if (n == 0) {
      if (opengl_mode()) {
        // A plain OpenGL draw shows the whole picture; the zoomed draw at 1.0
        // honours the scrolled window as a blit does in software mode.
        piece.dest_rect.w = piece.src_rect.w;
        piece.draw_zoomed(0, y, screen, 1.0);
      } else {
        piece.draw(0, y);
      }
      continue;
    }

    // Back to front: the piece is the farthest layer, the last listed layer
    // the nearest, which scrolls one to one with the camera.
    const int span = window_span(screen_w, zoom);
    int d = n;
    set_layer_window(piece, trunc_to_int(scroll_x / (d + 1.0) + d * dx + shake),
                     trunc_to_int(scroll_y / (d + 1.0) - d * dy), span, y + h, screen_h, zoom);
    piece.dest_rect.x = piece.src_rect.x;
    piece.dest_rect.y = piece.src_rect.y;
    fit_quad_to_window(piece);
    piece.draw_zoomed(0, y, screen, zoom);

    for (int m = 0; m < n; ++m) {
      int index = segment->layers[m];
      if (index < 0 || index >= static_cast<int>(images.size())) continue;  // checked at load
      img_mgr& layer = images[index];
      d = n - 1 - m;
      set_layer_window(layer, trunc_to_int(scroll_x / (d + 1.0) + d * dx + shake),
                       trunc_to_int(scroll_y / (d + 1.0) - d * dy), span, y + layer.height, screen_h, zoom);
      fit_quad_to_window(layer);
      layer.draw_zoomed(0, y, screen, zoom);
    }

    if (floor >= 0 && floor < static_cast<int>(images.size())) {
      img_mgr& floor_picture = images[floor];
      int nearest = segment->layers[n - 1];
      int nearest_h = nearest >= 0 && nearest < static_cast<int>(images.size()) ? images[nearest].height : 0;
      const int margin = window_margin(opengl_mode(), zoom);
      floor_picture.src_rect.x = rect_pos(clamp_window_x(shake + scroll_x, span, floor_picture.width, margin));
      floor_picture.src_rect.y = 0;
      int floor_y = trunc_to_int((y - floor_picture.height + nearest_h) - scroll_y * zoom);
      floor_picture.draw_depth(0, floor_y, screen, zoom, floor_depth);
    }
  }

  if (flash_shown != 0) {
    Uint8 alpha = static_cast<Uint8>(flash_shown & 0xFF);
    if (opengl_mode()) {
      draw_gl_flash(screen_w, screen_h, alpha);
    } else {
      whiten_surface(screen, alpha);
    }
  }
}

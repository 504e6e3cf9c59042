// Drawing an image: one textured quad in OpenGL mode, keyed blits in software
// mode. The software zoomed draws have a fast path (zoom_window.cpp) that gives
// the same pixels as the straightforward one kept here.
#include <SDL_opengl.h>
#include <SDL_rotozoom.h>

#include "core/log.h"
#include "gfx/drawn_rects.h"
#include "gfx/img_internal.h"
#include "gfx/img_mgr.h"
#include "gfx/pixel_share.h"
#include "gfx/screen.h"
#include "gfx/zoom_entries.h"
#include "gfx/zoom_window.h"

namespace {

// w and h of `r` cut back so that x + w and y + h stay inside limit_w x limit_h.
void clip_size(SDL_Rect& r, int x, int y, int limit_w, int limit_h) {
  if (x + r.w > limit_w) r.w = to_u16(limit_w - x);
  if (y + r.h > limit_h) r.h = to_u16(limit_h - y);
}

void scale_rect(SDL_Rect& r, double zoom) {
  r.x = to_s16(trunc_to_int(r.x * zoom));
  r.y = to_s16(trunc_to_int(r.y * zoom));
  r.w = to_u16(trunc_to_int(r.w * zoom));
  r.h = to_u16(trunc_to_int(r.h * zoom));
}

void reset_rects(img_mgr& img, int w, int h) {
  img.src_rect = {0, 0, to_u16(w), to_u16(h)};
  img.dest_rect.w = to_u16(w);
  img.dest_rect.h = to_u16(h);
}

void colour_white(uint32_t alpha) { glColor4ub(255, 255, 255, static_cast<GLubyte>(alpha & 0xFF)); }

bool zoom_usable(const img_mgr& img, double zoom) {
  if (zoom > 0.0 && zoom < 1000.0) return true;
  log_out("ERROR: zoom [%f] out of range for image [%s]\n", zoom, img.name);
  return false;
}

// The zoomed copy of the picture for this zoom and orientation: from the cache,
// or made now (and cached unless no_zoom_cache). `key_source_first` keys the
// picture before zooming (draw_zoomed); `key_format` is the format whose green
// keys the result.
SDL_Surface* zoomed_surface(img_mgr& img, SDL_Surface* s, double zoom, bool key_source_first,
                            bool key_in_source_format) {
  const int key = zoom_key_for(zoom);
  // An entry whose copy was let go (pixel_share.h) is filled again.
  zoom_entry* emptied = nullptr;
  if (!img.no_zoom_cache) {
    for (zoom_entry* e : img.zoom_cache) {
      if (e->zoom_key != key || e->flipped != img.flipped) continue;
      if (e->surface) {
        note_zoom_drawn(e->surface);
        return e->surface;
      }
      emptied = e;
    }
    // Made already for another picture showing the same pixels.
    if (SDL_Surface* kept = kept_zoom(s, key, img.flipped)) {
      zoom_entry* e = emptied ? emptied : new_zoom_entry(key, img.flipped);
      e->surface = kept;
      if (!emptied) img.zoom_cache.push_back(e);
      hold_zoom(kept, &e->surface);
      note_zoom_drawn(kept);
      return kept;
    }
  }
  if (key_source_first) img.surface.get()->apply_colour_key();
  SDL_Surface* z = rotozoomSurface(s, 0.0, zoom, 0);
  if (!z) return nullptr;
  if (!img.no_zoom_cache) {
    SDL_Surface* staging = create_rgba_surface(z->w, z->h, z->format->BitsPerPixel, keyed_staging_flags);
    if (staging) {
      // The zoom copies the source's key onto its result; a keyed blit would
      // then leave the key colour out of the staging copy (black where the
      // picture should be see-through). Copy every pixel; it is keyed below.
      SDL_SetColorKey(z, 0, 0);
      blit_or_log(z, nullptr, staging, nullptr);
      SDL_FreeSurface(z);
      z = SDL_DisplayFormat(staging);
      SDL_FreeSurface(staging);
      if (!z) return nullptr;
    }
  }
  const SDL_PixelFormat* key_format = key_in_source_format ? s->format : z->format;
  SDL_SetColorKey(z, SDL_SRCCOLORKEY, SDL_MapRGB(const_cast<SDL_PixelFormat*>(key_format), 0, 255, 0));
  if (!img.no_zoom_cache) {
    zoom_entry* e = emptied ? emptied : new_zoom_entry(key, img.flipped);
    e->surface = z;
    if (!emptied) img.zoom_cache.push_back(e);
    keep_zoom(s, key, img.flipped, z, &e->surface);
  }
  return z;
}

// Both software zoomed draws: scale src_rect, place dest_rect with the bottom
// edge kept, and clip its size against the target.
void zoomed_geometry(img_mgr& img, int x, int y, SDL_Surface* target, double zoom, int oh, int zh) {
  scale_rect(img.src_rect, zoom);
  img.dest_rect.x = to_s16(trunc_to_int(static_cast<Sint16>(x) * zoom));
  img.dest_rect.y = to_s16(y + oh - zh);
  img.dest_rect.w = to_u16(trunc_to_int(img.dest_rect.w * zoom));
  img.dest_rect.h = to_u16(trunc_to_int(img.dest_rect.h * zoom));
  clip_size(img.dest_rect, img.dest_rect.x, img.dest_rect.y, target->w, target->h);
}

void draw_zoomed_gl(img_mgr& img, int x, int y, double zoom) {
  img.upload();
  if (!img.has_texture()) {
    log_out("ERROR displaying non-uploadedGL image [%x]->NULL\n", log_addr(&img));
    return;
  }
  SDL_Rect& d = img.dest_rect;
  const double h = img.height;
  d.x = to_s16(trunc_to_int(static_cast<Sint16>(x) * zoom));
  d.y = to_s16(trunc_to_int(y + h - h * zoom));
  d.w = to_u16(trunc_to_int(d.w * zoom));
  d.h = to_u16(trunc_to_int(d.h * zoom));
  const SDL_Rect& s = img.src_rect;
  float s0 = static_cast<float>(s.x) / img.texture_width;
  float s1 = static_cast<float>(s.x + s.w) / img.texture_width;
  const float t0 = static_cast<float>(s.y) / img.texture_height;
  const float t1 = static_cast<float>(s.y + s.h) / img.texture_height;
  begin_textured_quad(img.texture);
  colour_white(img.alpha);
  if (img.flipped == 1) std::swap(s0, s1);
  glTexCoord2f(s0, t0); glVertex2i(d.x, d.y);
  glTexCoord2f(s1, t0); glVertex2i(d.x + d.w, d.y);
  glTexCoord2f(s1, t1); glVertex2i(d.x + d.w, d.y + d.h);
  glTexCoord2f(s0, t1); glVertex2i(d.x, d.y + d.h);
  end_textured_quad();
  note_drawn_rect(d.x, d.y, d.w, d.h);
  reset_rects(img, img.width, img.height);
}

}  // namespace

void img_mgr::draw(int x, int y) {
  SDL_Surface* screen = g_screen.screen;
  if (!screen) return;
  dest_rect.x = to_s16(x);
  dest_rect.y = to_s16(y);
  clip_size(dest_rect, x, y, screen->w, screen->h);
  upload();
  if (opengl_mode()) {
    const float u = static_cast<float>(width) / texture_width;
    const float v = static_cast<float>(height) / texture_height;
    begin_textured_quad(texture);
    colour_white(alpha);
    glTexCoord2f(0, 0); glVertex2i(x, y);
    glTexCoord2f(u, 0); glVertex2i(x + width, y);
    glTexCoord2f(u, v); glVertex2i(x + width, y + height);
    glTexCoord2f(0, v); glVertex2i(x, y + height);
    end_textured_quad();
    note_drawn_rect(x, y, width, height);
    return;
  }
  if (!surface) {
    log_out("ERROR: no image loaded\n");
    return;
  }
  blit_to_target(pixels(), &src_rect, screen, &dest_rect);
}

void img_mgr::draw_to(int x, int y, SDL_Surface* target) {
  if (opengl_mode()) {
    draw_zoomed(x, y, target, 1.0);
    return;
  }
  if (!surface || !target) {
    log_out("ERROR displayingto empty image [%x]->NULL\n", log_addr(this));
    return;
  }
  dest_rect.x = to_s16(x);
  dest_rect.y = to_s16(y);
  clip_size(dest_rect, x, y, target->w, target->h);
  blit_to_target(pixels(), &src_rect, target, &dest_rect);
}

void img_mgr::draw_zoomed(int x, int y, SDL_Surface* target, double zoom) {
  if (!zoom_usable(*this, zoom)) return;
  if (opengl_mode()) {
    draw_zoomed_gl(*this, x, y, zoom);
    return;
  }
  upload();
  SDL_Surface* s = pixels();
  if (!s || !target) {
    log_out("ERROR displayingtozoom empty image [%x]->NULL [%s]\n", log_addr(this), name);
    return;
  }
  if ((zoom_fast_path() || zoom_window_needed(*this, zoom)) && zoom_window_draw(*this, x, y, target, zoom, 0.0)) return;

  SDL_Surface* z = zoomed_surface(*this, s, zoom, true, false);
  if (z) {
    zoomed_geometry(*this, x, y, target, zoom, s->h, z->h);
    // The zoomed copy comes out fully opaque; a translucent picture (a fading
    // logo or backdrop) lends it its opacity for this blit only.
    const Uint8 opacity = static_cast<Uint8>(alpha & 0xFF);
    const Uint32 had_alpha_flag = z->flags & SDL_SRCALPHA;
    const Uint8 had_alpha = z->format->alpha;
    if (opacity < 255) SDL_SetAlpha(z, SDL_SRCALPHA, opacity);
    blit_to_target(z, &src_rect, target, &dest_rect);
    if (no_zoom_cache) {
      SDL_FreeSurface(z);
    } else if (opacity < 255) {
      SDL_SetAlpha(z, had_alpha_flag, had_alpha);
    }
  }
  reset_rects(*this, s->w, s->h);
}

void img_mgr::draw_depth(int x, int y, SDL_Surface* target, double zoom, double depth) {
  if (zoom == 1.0) {
    draw_to(x, y, target);
    return;
  }
  if (!zoom_usable(*this, zoom)) return;
  if (!(depth > 0.0)) {
    // The strip loop advances by depth; it would never end.
    log_out("ERROR: draw_depth refused depth [%f] for image [%s]\n", depth, name);
    return;
  }
  if (opengl_mode()) {
    draw_floor_gl(*this, x, y, target, zoom, depth);
    return;
  }
  shared_surface* holder = surface.operator->();
  SDL_Surface* s = holder ? holder->surface : nullptr;
  if (!s || !target) return;
  if ((zoom_fast_path() || zoom_window_needed(*this, zoom)) && zoom_window_draw(*this, x, y, target, zoom, depth)) return;

  SDL_Surface* z = zoomed_surface(*this, s, zoom, false, true);
  if (z) {
    zoomed_geometry(*this, x, y, target, zoom, s->h, z->h);
    // Below the target the clipped height would be negative (a huge 16-bit count).
    const int rows = dest_rect.y > target->h ? 0 : dest_rect.h;
    for_each_floor_strip(src_rect, dest_rect, rows, depth,
                         [&] { blit_to_target(z, &src_rect, target, &dest_rect); });
    if (no_zoom_cache) SDL_FreeSurface(z);
  }
  reset_rects(*this, s->w, s->h);
}

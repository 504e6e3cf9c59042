// Making an image drawable: the lazy texture upload in OpenGL mode and the
// one-time conversion to a keyed display-format surface in software mode.
#include <SDL_opengl.h>

#include "core/log.h"
#include "gfx/drawn_rects.h"
#include "gfx/img_internal.h"
#include "gfx/img_mgr.h"
#include "gfx/pixel_share.h"
#include "gfx/screen.h"
#include "gfx/zoom_window.h"

int texture_size_for(int n) {
  int i = 0;
  while (i < 30 && (1 << i) < n) ++i;
  return 1 << i;
}

int zoom_key_for(double zoom) { return trunc_to_int(zoom * 25.0); }

void blit_or_log(SDL_Surface* src, SDL_Rect* src_rect, SDL_Surface* dst, SDL_Rect* dst_rect) {
  if (SDL_BlitSurface(src, src_rect, dst, dst_rect) < 0) {
    log_err("BlitSurface error: %s\n", SDL_GetError());
  } else if (dst && dst == g_screen.screen && dst_rect) {
    note_drawn_rect(dst_rect->x, dst_rect->y, dst_rect->w, dst_rect->h);  // clipped by the blit
  }
}

void blit_to_target(SDL_Surface* src, SDL_Rect* src_rect, SDL_Surface* dst, SDL_Rect* dst_rect) {
  if (src && dst && zoom_fast_path() && (src->flags & SDL_SRCALPHA) && src->format->alpha == 255 &&
      src->format->Amask == 0 && src->format->BytesPerPixel == 4 && dst->format->Amask == 0) {
    SDL_SetAlpha(src, 0, 255);
  }
  blit_or_log(src, src_rect, dst, dst_rect);
}

void begin_textured_quad(unsigned texture) {
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glBindTexture(GL_TEXTURE_2D, texture);
  glBegin(GL_QUADS);
}

void end_textured_quad() {
  glEnd();
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
}

namespace {

void upload_texture(img_mgr& img) {
  if (img.has_texture()) return;
  shared_surface* holder = img.surface.get();
  if (!holder) {
    log_out("ERROR: can't upload null image [%s]\n", img.name);
    return;
  }
  SDL_Surface* s = holder->surface;
  if (!s) {
    log_out("ERROR: uploading something that wasn't loaded [%s] [%x]\n", img.name, log_addr(&img));
    return;
  }
  if (!s->format) {
    log_out("ERROR: Can't upload, no format\n");
    return;
  }
  holder->apply_colour_key();
  img.texture_width = texture_size_for(s->w);
  img.texture_height = texture_size_for(s->h);
  SDL_Surface* buffer = create_rgba_surface(img.texture_width, img.texture_height, 32, 0);
  if (!buffer) {
    log_out("Render failure in creating texture [%d,%d]\n", img.texture_width, img.texture_height);
    return;
  }
  const bool surface_alpha = (s->flags & SDL_SRCALPHA) != 0;
  const Uint8 remembered = s->format->alpha;
  if (surface_alpha) img.set_alpha(255);
  SDL_Rect all = {0, 0, static_cast<Uint16>(img.texture_width), static_cast<Uint16>(img.texture_height)};
  SDL_Rect to = all;
  blit_or_log(s, &all, buffer, &to);
  if (surface_alpha) img.set_alpha(remembered);

  GLuint name = 0;
  glGenTextures(1, &name);
  let_go_texture(img.texture);
  img.texture = name;
  hold_texture(name);
  log_out("opengl texture upload: got [%d] for [%s]/[%x]->[%x]\n", static_cast<int>(img.texture), img.name,
          log_addr(&img), log_addr(holder));
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, buffer->w, buffer->h, 0, GL_RGBA, GL_UNSIGNED_BYTE, buffer->pixels);
  SDL_FreeSurface(buffer);
  img.surface = counted_ptr<shared_surface>();  // drawn from the texture from now on
  // No image counts the holder any more: its pixels live on in the texture
  // (a copy reads them back from there), so they go now, or nothing would
  // ever free them.
  if (holder->ref_count == 0) {
    free_picture_surface(holder->surface);
    delete holder;
  }
}

void convert_for_blits(img_mgr& img) {
  shared_surface* holder = img.surface.get();
  if (!holder) {
    log_out("ERROR uploading null image\n");
    return;
  }
  SDL_Surface* s = holder->surface;
  if (!s || (s->flags & SDL_SRCCOLORKEY)) return;  // nothing loaded, or prepared already
  const int bpp = s->format->BitsPerPixel;
  SDL_Surface* staging = create_rgba_surface(s->w, s->h, bpp, keyed_staging_flags);
  log_out("Move image[%x] to videoram bpp[%d]\n", log_addr(holder), bpp);
  // The pixels are copied as they are: blending a translucent picture (the
  // logo at alpha 24) into the staging surface would darken it for good. The
  // opacity is given back to the converted surface below.
  const bool translucent = (s->flags & SDL_SRCALPHA) && s->format->alpha < 255;
  const Uint8 opacity = s->format->alpha;
  if (translucent) SDL_SetAlpha(s, 0, 255);
  SDL_Surface* converted = nullptr;
  if (staging) {
    blit_or_log(s, nullptr, staging, nullptr);
    converted = SDL_DisplayFormat(staging);
    SDL_FreeSurface(staging);
  } else {
    // No RGBA staging surface at this depth (e.g. 24 bits): convert directly.
    converted = SDL_DisplayFormat(s);
  }
  if (translucent) SDL_SetAlpha(converted ? converted : s, SDL_SRCALPHA, opacity);
  if (!converted) return;
  // The holder's count drops once so that its surface is freed with the last
  // image that holds it; only once per holder, or a shared holder could be
  // freed while images still show it.
  if (!holder->upload_released) {
    holder->upload_released = true;
    holder->release();
  }
  holder->set_surface(converted);
  transfer_picture_count(s, converted);
  // Every image reaches the pixels through the holder, never the old surface;
  // copies that show its pixels keep them alive.
  free_picture_surface(s);
  holder->apply_colour_key();
}

}  // namespace

void img_mgr::upload() {
  if (opengl_mode()) {
    upload_texture(*this);
  } else {
    convert_for_blits(*this);
  }
}

// The image object's life: holder bookkeeping, loading, copying, assignment,
// destruction, freeing, colour swaps, mirroring and opacity. Uploading and
// drawing live in img_upload.cpp and img_draw.cpp.
#include "gfx/img_mgr.h"
#include "gfx/picture_decode.h"
#include "gfx/picture_header.h"
#include "gfx/pixel_share.h"

#include <SDL_image.h>
#include <SDL_opengl.h>
#include <SDL_rotozoom.h>

#include <cstring>
#include <unordered_map>

#include "core/data_path.h"
#include "core/log.h"
#include "gfx/img_internal.h"
#include "gfx/screen.h"

void shared_surface::release() {
  --ref_count;
  if (ref_count >= 0) return;
  if (surface) {
    log_out("____Deleting surface [%x]\n", log_addr(surface));
    free_picture_surface(surface);
    surface = nullptr;
  } else {
    log_out("____ERROR: Would be deleting surface [%x] but its already deleted\n", 0u);
  }
}

void shared_surface::set_surface(SDL_Surface* s) {
  if (!s) {
    log_out("ERROR, set surface to null\n");
    return;
  }
  if (surface) log_out("____WARNING: Setting an alreadys set surface[%x]\n", log_addr(surface));
  surface = s;
}

void shared_surface::apply_colour_key() {
  if (!surface) return;
  SDL_SetColorKey(surface, SDL_SRCCOLORKEY, SDL_MapRGB(surface->format, 0, 255, 0));
}

namespace {

std::unordered_map<uint32_t, int>& texture_counts() {
  static std::unordered_map<uint32_t, int> counts;
  return counts;
}

}  // namespace

void hold_texture(uint32_t texture) {
  if (texture != no_texture) ++texture_counts()[texture];
}

void let_go_texture(uint32_t texture) {
  auto it = texture_counts().find(texture);
  if (it != texture_counts().end() && --it->second <= 0) texture_counts().erase(it);
}

int texture_holders(uint32_t texture) {
  auto it = texture_counts().find(texture);
  return it == texture_counts().end() ? 0 : it->second;
}

namespace {

// The fields copy construction and assignment both take over unchanged.
void copy_drawing_state(img_mgr& to, const img_mgr& from) {
  to.dest_rect = from.dest_rect;
  to.src_rect = from.src_rect;
  if (to.texture != from.texture) {
    let_go_texture(to.texture);
    hold_texture(from.texture);
  }
  to.texture = from.texture;
  to.texture_width = from.texture_width;
  to.texture_height = from.texture_height;
  to.alpha = from.alpha;
  to.height = from.height;
  to.width = from.width;
  to.no_zoom_cache = from.no_zoom_cache;
}

void copy_name_and_orientation(img_mgr& to, const img_mgr& from) {
  std::memcpy(to.name, from.name, sizeof to.name);
  to.name[sizeof to.name - 1] = '\0';
  to.flipped = from.flipped;
}

void share_mirror(img_mgr& to, const img_mgr& from) {
  to.mirror = from.mirror;
  if (to.mirror) to.mirror.get()->apply_colour_key();
}

// Fills `s` (32-bit RGBA, w x h) from the top-left texels of `texture`.
void read_back_texture(SDL_Surface* s, uint32_t texture, int tex_w, int tex_h) {
  if (tex_w <= 0 || tex_h <= 0) return;
  std::vector<Uint8> texels(static_cast<size_t>(tex_w) * tex_h * 4);
  glBindTexture(GL_TEXTURE_2D, texture);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  const int w = s->w < tex_w ? s->w : tex_w;
  const int h = s->h < tex_h ? s->h : tex_h;
  SDL_LockSurface(s);
  for (int y = 0; y < h; ++y) {
    std::memcpy(static_cast<Uint8*>(s->pixels) + static_cast<size_t>(y) * s->pitch,
                texels.data() + static_cast<size_t>(y) * tex_w * 4, static_cast<size_t>(w) * 4);
  }
  SDL_UnlockSurface(s);
}

// True when `s` has the screen's pixel format, so a display-format copy of it
// would hold the very same bytes.
bool in_display_format(const SDL_Surface* s) {
  const SDL_Surface* screen = SDL_GetVideoSurface();
  if (!screen || !s) return false;
  const SDL_PixelFormat* a = s->format;
  const SDL_PixelFormat* b = screen->format;
  return !a->palette && !b->palette && a->BitsPerPixel == b->BitsPerPixel && a->Rmask == b->Rmask &&
         a->Gmask == b->Gmask && a->Bmask == b->Bmask && a->Amask == b->Amask;
}

SDL_Surface* display_copy(SDL_Surface* s) {
  if (in_display_format(s)) {
    if (SDL_Surface* shared = share_pixels(s)) return shared;
  }
  return SDL_DisplayFormat(s);
}

}  // namespace

img_mgr::img_mgr(const img_mgr& src) {
  shared_surface* holder = src.surface.get();
  if (holder && !holder->surface) log_out("ERROR: Empty source surface\n");
  if (!holder) {
    log_out("%s: copying an empty img_mgr [%s] gl[%d]\n", src.has_texture() ? "NOTICE" : "WARNING", src.name,
            static_cast<int>(src.texture));
  }

  if (holder) {
    // The copy shows the source's pixels (already in the display format)
    // through a surface of its own; colour swaps give it private pixels first.
    // An empty source leaves an empty holder.
    surface = new shared_surface;
    if (holder->surface) surface.get()->set_surface(display_copy(holder->surface));
  } else if (!src.has_texture()) {
    log_out("ERROR: Can't copy src.image (NULL and no gl) to image [%s]\n", SDL_GetError());
    return;
  } else {
    log_out("Could download, but not\n");
  }
  if (pixels()) surface.get()->apply_colour_key();

  share_mirror(*this, src);
  copy_drawing_state(*this, src);
  zoom_cache.reserve(src.zoom_cache.size());
  for (zoom_entry* e : src.zoom_cache) zoom_cache.push_back(e);
  copy_name_and_orientation(*this, src);
}

img_mgr& img_mgr::operator=(const img_mgr& src) {
  log_out("Image assignment [%x] to [%x]\n", log_addr(&src), log_addr(this));
  if (&src == this) return *this;

  if (src.surface) {
    surface = src.surface;  // shared; the handle counts the new holder before releasing the old
  } else if (!src.has_texture()) {
    log_out("ERROR: no image to copy from\n");
    return *this;
  } else {
    log_out("Downloading [%d,%d]/32 surface from hw to sw\n", src.width, src.height);
    SDL_Surface* s = create_rgba_surface(src.width, src.height, 32, 0);
    if (s) {
      if (!surface) surface = new shared_surface;
      surface.get()->set_surface(s);
      read_back_texture(s, src.texture, src.texture_width, src.texture_height);
    } else {
      log_out("Render failure in creating texture [%d,%d]\n", src.width, src.height);
    }
  }
  if (pixels()) surface.get()->apply_colour_key();

  if (src.mirror) {
    share_mirror(*this, src);
  } else {
    mirror = counted_ptr<shared_surface>();
  }
  copy_drawing_state(*this, src);
  zoom_cache.clear();
  zoom_cache.reserve(src.zoom_cache.size());
  for (zoom_entry* e : src.zoom_cache) zoom_cache.push_back(e);
  copy_name_and_orientation(*this, src);
  return *this;
}

img_mgr::~img_mgr() {
  zoom_cache.clear();  // entries are shared with copies and outlive every image
  let_go_texture(texture);  // the texture itself stays: copies may still show it
  if (opengl_mode() && has_texture()) {
    log_out("Would be ");
    log_out("opengl: Freeing [%d]\n", static_cast<int>(texture));
  }
  mirror = counted_ptr<shared_surface>();
  surface = counted_ptr<shared_surface>();
}

namespace {

bool too_large(long long w, long long h) {
  return w > max_picture_side || h > max_picture_side || w * h > max_picture_pixels;
}

void refuse_size(const char* path, long long w, long long h) {
  log_out("ERROR: [%s] picture size [%lld,%lld] refused: at most %lld pixels a side and %lld in all\n", path, w, h,
          max_picture_side, max_picture_pixels);
}

void refuse_budget(const char* path, long long w, long long h) {
  log_out("ERROR: [%s] picture size [%lld,%lld] refused: all pictures together may hold at most %lld pixels, "
          "%lld are in use\n",
          path, w, h, max_total_picture_pixels, picture_pixels_in_use());
}

// Every picture is drawn from 32 bits a pixel: SDL_gfx's zoom reads past the
// end of 8-bit surfaces, and the screen is 32-bit. Pictures of 32 bits take
// the display format; others (palette, grey, 1-bit, 16, 24) are converted
// with every pixel kept, a palette's transparent entry included: only pure
// green is transparent in the game, keyed when the picture is prepared.
SDL_Surface* drawing_format(SDL_Surface* s) {
  if (s->format->BitsPerPixel == 32) return SDL_DisplayFormat(s);
  SDL_SetColorKey(s, 0, 0);
  SDL_SetAlpha(s, 0, 255);
  SDL_Surface* screen = SDL_GetVideoSurface();
  if (screen && screen->format->BitsPerPixel == 32 && !screen->format->palette) return SDL_DisplayFormat(s);
  SDL_PixelFormat xrgb = {};
  xrgb.BitsPerPixel = 32;
  xrgb.BytesPerPixel = 4;
  xrgb.Rmask = 0x00FF0000;
  xrgb.Gmask = 0x0000FF00;
  xrgb.Bmask = 0x000000FF;
  xrgb.Rshift = 16;
  xrgb.Gshift = 8;
  xrgb.alpha = 255;
  return SDL_ConvertSurface(s, &xrgb, SDL_SWSURFACE);
}

}  // namespace

void img_mgr::load(const char* path) {
  if (!path) path = "";
  log_out("Loading img_mgr [%s] into [%x]/[%x]\n", path, log_addr(this), log_addr(surface.get()));
  surface = new shared_surface;

  // A few header bytes can claim gigabytes; the decoder would allocate them.
  // A file that can't be opened goes on to the decoder, which says why.
  const picture_header header = read_picture_header(path);
  const char* refusal = header.opened ? header.refusal : nullptr;
  if (header.size_known && too_large(header.w, header.h)) {
    refuse_size(path, header.w, header.h);
    return;
  }
  if (!refusal) refusal = png_structure_refusal(path);
  if (refusal) {
    log_out("Couldn't load %s: %s\n", path, refusal);
    log_err("Couldn't load %s: %s\n", path, refusal);
    return;
  }
  if (header.size_known && !claim_picture_pixels(header.w, header.h)) {
    refuse_budget(path, header.w, header.h);
    return;
  }
  SDL_Surface* s = decode_picture_file(checked_data_path(path, data_kind::picture));
  if (!s) {
    log_out("Couldn't load %s: %s\n", path, SDL_GetError());
    log_err("Couldn't load %s: %s\n", path, SDL_GetError());
    return;
  }
  if (s->w < 1 || s->h < 1) {  // nothing to draw, and the zoom code can't take it
    log_out("Couldn't load %s: the picture has no pixels\n", path);
    log_err("Couldn't load %s: the picture has no pixels\n", path);
    SDL_FreeSurface(s);
    return;
  }
  if (too_large(s->w, s->h)) {  // formats whose header isn't read above
    refuse_size(path, s->w, s->h);
    SDL_FreeSurface(s);
    return;
  }
  if (!claim_picture_pixels(s->w, s->h)) {
    refuse_budget(path, s->w, s->h);
    SDL_FreeSurface(s);
    return;
  }
  SDL_Surface* loaded = s;
  s = drawing_format(loaded);
  surface.get()->set_surface(s);
  if (!pixels()) {
    SDL_FreeSurface(loaded);
    log_out("ERROR: can't load [%s]\n", path);
    log_err("Couldn't load %s: %s\n", path, SDL_GetError());
    return;
  }
  count_picture_surface(s);

  std::strncpy(name, path, sizeof name - 1);
  name[sizeof name - 1] = '\0';

  SDL_Palette* palette = loaded->format->palette;
  SDL_Surface* screen = g_screen.screen;
  if (palette && screen && screen->format->palette) {
    log_out("Paletting image<br>\n");
    SDL_SetColors(screen, palette->colors, 0, palette->ncolors);
  }
  SDL_FreeSurface(loaded);
  dest_rect = {0, 0, static_cast<Uint16>(s->w), static_cast<Uint16>(s->h)};
  src_rect = dest_rect;
  width = s->w;
  height = s->h;
}

void img_mgr::unload() {
  if (opengl_mode() && has_texture()) {
    log_out("opengl: Freeing [%d]\n", static_cast<int>(texture));
    GLuint name_gl = texture;
    glDeleteTextures(1, &name_gl);
  }
  // A picture loaded into it again gets a texture of its own, not this freed name.
  texture = no_texture;
  surface = counted_ptr<shared_surface>();
}

namespace {

bool is_one_of(uint32_t rgb, const std::vector<uint32_t>& colours) {
  for (uint32_t c : colours) {
    if (c == rgb) return true;
  }
  return false;
}

bool has_any_colour(SDL_Surface* s, const std::vector<uint32_t>& colours) {
  const int bpp = s->format->BytesPerPixel;
  for (int y = 0; y < s->h; ++y) {
    const Uint8* p = static_cast<const Uint8*>(s->pixels) + static_cast<size_t>(y) * s->pitch;
    for (int x = 0; x < s->w; ++x, p += bpp) {
      // little-endian: the colour is in bytes 0..2 whatever the depth
      if (is_one_of(p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16), colours)) return true;
    }
  }
  return false;
}

}  // namespace

void img_mgr::swap_colours(const std::vector<colour_swap>& swaps) {
  shared_surface* holder = surface.operator->();
  if (!holder || !holder->surface || swaps.empty()) return;
  SDL_Surface* s = holder->surface;
  const int bpp = s->format->BytesPerPixel;
  if (bpp != 3 && bpp != 4) return;  // the colour pairs are 24-bit values; nothing to match in 1 or 2 bytes
  // No swap can fire unless some pixel has the colour one of them looks for
  // (a swap only sees colours that are there or that an earlier one wrote).
  std::vector<uint32_t> wanted;
  recolour_key key;
  for (const colour_swap& swap : swaps) {
    const uint32_t from_rgb = swap.from & 0xFFFFFFu;
    key.push_back(static_cast<uint64_t>(from_rgb) << 32 | (swap.to & 0xFFFFFFu));
    if (!colour_known_absent(s, from_rgb)) wanted.push_back(from_rgb);
  }
  if (wanted.empty()) return;
  if (pixels_shared(s)) {
    // Another picture showing these pixels was recoloured the same way already.
    if (SDL_Surface* done = shared_recolour_of(s, key)) {
      holder->surface = done;
      free_picture_surface(s);
      return;
    }
  }
  if (SDL_MUSTLOCK(s)) SDL_LockSurface(s);
  const bool found = has_any_colour(s, wanted);
  if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
  if (!found) {
    for (uint32_t rgb : wanted) note_colour_absent(s, rgb);
    return;
  }
  SDL_Surface* source = nullptr;  // shared pixels this recolouring starts from
  if (pixels_shared(s)) {
    // Other pictures show these pixels: this holder gets its own before they change.
    SDL_Surface* own = copy_pixels(s);
    if (!own) return;
    holder->surface = own;
    source = s;
    s = own;
  }
  if (SDL_MUSTLOCK(s)) SDL_LockSurface(s);
  // Row by row: padded rows (odd-width 24-bit pictures) must not be walked as pixels.
  for (int y = 0; y < s->h; ++y) {
    Uint8* p = static_cast<Uint8*>(s->pixels) + static_cast<size_t>(y) * s->pitch;
    for (int x = 0; x < s->w; ++x, p += bpp) {
      uint32_t rgb = p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16);
      bool changed = false;
      for (const colour_swap& swap : swaps) {
        if (rgb != (swap.from & 0xFFFFFFu)) continue;
        rgb = swap.to & 0xFFFFFFu;
        changed = true;
      }
      if (!changed) continue;
      p[0] = static_cast<Uint8>(rgb);
      p[1] = static_cast<Uint8>(rgb >> 8);
      p[2] = static_cast<Uint8>(rgb >> 16);
    }
  }
  if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
  note_pixels_written(s);
  // A colour swapped away stays gone unless a later swap writes it back.
  for (size_t i = 0; i < swaps.size(); ++i) {
    const uint32_t from_rgb = swaps[i].from & 0xFFFFFFu;
    bool written_back = (swaps[i].to & 0xFFFFFFu) == from_rgb;
    for (size_t j = i + 1; j < swaps.size() && !written_back; ++j) written_back = (swaps[j].to & 0xFFFFFFu) == from_rgb;
    if (!written_back) note_colour_absent(s, from_rgb);
  }
  if (source) {
    keep_recolour(source, key, s);
    free_picture_surface(source);
  }
}

namespace {

// The mirrored picture of `s`, keyed, as a new surface.
SDL_Surface* build_mirror(SDL_Surface* s) {
  SDL_Surface* m = rotozoomSurfaceXY(s, 0.0, -1.0, 1.0, 0);
  SDL_Surface* d = m ? SDL_DisplayFormat(m) : nullptr;
  if (m) SDL_FreeSurface(m);
  if (!d) return nullptr;
  SDL_Surface* t = create_rgba_surface(d->w, d->h, d->format->BitsPerPixel, keyed_staging_flags);
  if (!t) {
    SDL_FreeSurface(d);
    return nullptr;
  }
  // A picture already prepared for drawing is keyed, and the mirror keeps its
  // key: a keyed blit would leave the key colour out of the copy (black where
  // the picture should be see-through). Copy every pixel as it is.
  SDL_SetColorKey(d, 0, 0);
  SDL_SetAlpha(d, 0, 255);
  if (SDL_BlitSurface(d, nullptr, t, nullptr) < 0) log_err("BlitSurface error: %s\n", SDL_GetError());
  SDL_FreeSurface(d);
  SDL_Surface* mirrored = SDL_DisplayFormat(t);
  SDL_FreeSurface(t);
  return mirrored;
}

}  // namespace

void img_mgr::flip() {
  if (!mirror && !opengl_mode()) {
    shared_surface* holder = surface.operator->();
    SDL_Surface* s = holder ? holder->surface : nullptr;
    if (!s) return;  // nothing to mirror; orientation unchanged
    // Every picture showing these pixels shares one mirror of them.
    SDL_Surface* mirrored = shared_mirror_of(s);
    if (!mirrored) {
      mirrored = build_mirror(s);
      if (!mirrored) return;
      keep_mirror(s, mirrored);
    }
    mirror = new shared_surface;
    mirror.get()->set_surface(mirrored);
    mirror.get()->apply_colour_key();
  }
  flipped = flipped ? 0 : 1;
  if (!opengl_mode()) {
    counted_ptr<shared_surface> shown = surface;
    surface = mirror;
    mirror = shown;
  }
}

void img_mgr::set_alpha(uint32_t a) {
  if (!opengl_mode() && a != alpha) {
    shared_surface* holder = surface.operator->();
    if (holder && holder->surface) SDL_SetAlpha(holder->surface, SDL_SRCALPHA, static_cast<Uint8>(a));
  }
  alpha = a;
}

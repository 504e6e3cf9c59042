#include "gfx/zoom_window.h"

#include <SDL_rotozoom.h>

#include <cmath>
#include <cstring>

#include "gfx/drawn_rects.h"
#include "gfx/img_internal.h"
#include "gfx/img_mgr.h"
#include "gfx/pixel_share.h"
#include "gfx/screen.h"

namespace {

bool fast_path_on = true;

struct line_map {
  int n = -1;
  double zoom = 0.0;
  std::vector<int> map;
};

// One zoom per frame for a few picture sizes: the stage's layers, the
// fighters' pictures, a projectile.
line_map map_slots[16];
int next_slot = 0;

// One scratch surface reused by every draw; rebuilt only when a bigger or
// differently formatted window is needed.
SDL_Surface* scratch = nullptr;

SDL_Surface* scratch_for(const SDL_PixelFormat* f, int w, int h) {
  if (scratch && (scratch->w < w || scratch->h < h || scratch->format->Rmask != f->Rmask ||
                  scratch->format->Gmask != f->Gmask || scratch->format->Bmask != f->Bmask ||
                  scratch->format->Amask != f->Amask)) {
    w = w > scratch->w ? w : scratch->w;
    h = h > scratch->h ? h : scratch->h;
    SDL_FreeSurface(scratch);
    scratch = nullptr;
  }
  if (!scratch) scratch = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, f->Rmask, f->Gmask, f->Bmask, f->Amask);
  return scratch;
}

// Copies zoomed pixels (zx0..zx0+w, zy0..zy0+h) of `s` into the scratch's top-left corner.
void fill_window(SDL_Surface* s, SDL_Surface* out, const std::vector<int>& cols, const std::vector<int>& rows,
                 int zx0, int zy0, int w, int h) {
  const Uint8* base = static_cast<const Uint8*>(s->pixels);
  const int* col = cols.data() + zx0;
  for (int j = 0; j < h; ++j) {
    const Uint32* src_row = reinterpret_cast<const Uint32*>(base + static_cast<size_t>(rows[zy0 + j]) * s->pitch);
    Uint32* dst = reinterpret_cast<Uint32*>(static_cast<Uint8*>(out->pixels) + static_cast<size_t>(j) * out->pitch);
    for (int i = 0; i < w; ++i) dst[i] = src_row[col[i]];
  }
}

void union_into(int& x0, int& y0, int& x1, int& y1, const blit_plan& p) {
  if (!p.visible()) return;
  if (p.sx < x0) x0 = p.sx;
  if (p.sy < y0) y0 = p.sy;
  if (p.sx + p.w > x1) x1 = p.sx + p.w;
  if (p.sy + p.h > y1) y1 = p.sy + p.h;
}

void blit_planned(SDL_Surface* window, int ox, int oy, const blit_plan& p, SDL_Surface* target) {
  if (!p.visible()) return;
  SDL_Rect from = {to_s16(p.sx - ox), to_s16(p.sy - oy), to_u16(p.w), to_u16(p.h)};
  SDL_Rect to = {to_s16(p.dx), to_s16(p.dy), 0, 0};
  blit_or_log(window, &from, target, &to);
}

// True when the zoomed pixels can be written straight into the target: both
// are 32-bit surfaces of one format without an alpha channel, so a keyed blit
// would copy every non-key pixel value unchanged.
bool can_write_directly(const SDL_Surface* s, const SDL_Surface* target) {
  const SDL_PixelFormat* a = s->format;
  const SDL_PixelFormat* b = target->format;
  return a->BytesPerPixel == 4 && b->BytesPerPixel == 4 && a->Amask == 0 && b->Amask == 0 &&
         a->Rmask == b->Rmask && a->Gmask == b->Gmask && a->Bmask == b->Bmask && target->pixels;
}

// What fill_window followed by a keyed blit of the plan does, in one pass and
// without the scratch copy.
void write_planned(SDL_Surface* s, const std::vector<int>& cols, const std::vector<int>& rows, Uint32 key,
                   const blit_plan& p, SDL_Surface* target) {
  if (!p.visible()) return;
  if (target == g_screen.screen) note_drawn_rect(p.dx, p.dy, p.w, p.h);
  const Uint8* base = static_cast<const Uint8*>(s->pixels);
  const int* col = cols.data() + p.sx;
  for (int j = 0; j < p.h; ++j) {
    const Uint32* src_row = reinterpret_cast<const Uint32*>(base + static_cast<size_t>(rows[p.sy + j]) * s->pitch);
    Uint32* dst = reinterpret_cast<Uint32*>(static_cast<Uint8*>(target->pixels) +
                                            static_cast<size_t>(p.dy + j) * target->pitch) + p.dx;
    for (int i = 0; i < p.w; ++i) {
      const Uint32 v = src_row[col[i]];
      if (v != key) dst[i] = v;
    }
  }
}

}  // namespace

bool zoom_fast_path() { return fast_path_on; }
void set_zoom_fast_path(bool on) { fast_path_on = on; }

long long zoomed_length(int n, double zoom) {
  if (zoom < 0.001) zoom = 0.001;
  const double v = std::floor(static_cast<double>(n) * zoom + 0.5);
  return v < 1.0 ? 1 : static_cast<long long>(v);
}

bool zoom_window_needed(const img_mgr& img, double zoom) {
  SDL_Surface* s = img.pixels();
  if (!s) return false;
  const long long zw = zoomed_length(s->w, zoom);
  const long long zh = zoomed_length(s->h, zoom);
  if (img.no_zoom_cache) return zw > max_picture_side || zh > max_picture_side || !zoom_may_be_kept(zw, zh);
  const int key = zoom_key_for(zoom);
  for (const zoom_entry* e : img.zoom_cache) {
    if (e->zoom_key == key && e->flipped == img.flipped && e->surface) return false;
  }
  if (SDL_Surface* kept = kept_zoom(s, key, img.flipped)) {
    SDL_FreeSurface(kept);  // only asked whether it is there
    return false;
  }
  return !zoom_may_be_kept(zw, zh);
}

const std::vector<int>& zoom_line_map(int n, double zoom) {
  for (line_map& m : map_slots) {
    if (m.n == n && m.zoom == zoom) return m.map;
  }
  line_map& m = map_slots[next_slot];
  next_slot = (next_slot + 1) % 16;
  m.n = n;
  m.zoom = zoom;
  m.map.clear();
  const long long length = zoomed_length(n, zoom);
  if (length > max_picture_side) {
    // Too long for a probe surface (16-bit pitch): the zoom's own stepping,
    // 16.16 fixed point, source position capped at the last line.
    const long long step = static_cast<long long>(65536.0 * static_cast<float>(n) / static_cast<float>(length));
    const long long last = (static_cast<long long>(n) << 16) - 1;
    m.map.resize(static_cast<size_t>(length));
    long long at = 0;
    for (long long i = 0; i < length; ++i) {
      m.map[static_cast<size_t>(i)] = static_cast<int>(at >> 16);
      at += step;
      if (at > last) at = last;
    }
    return m.map;
  }
  // A one-line picture whose pixels hold their own index, zoomed the same way.
  SDL_Surface* probe = SDL_CreateRGBSurface(SDL_SWSURFACE, n, 1, 32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
  if (!probe) return m.map;
  Uint32* p = static_cast<Uint32*>(probe->pixels);
  for (int i = 0; i < n; ++i) p[i] = static_cast<Uint32>(i);
  SDL_Surface* z = rotozoomSurfaceXY(probe, 0.0, zoom, 1.0, 0);
  SDL_FreeSurface(probe);
  if (!z) return m.map;
  const Uint32* q = static_cast<const Uint32*>(z->pixels);
  m.map.resize(static_cast<size_t>(z->w));
  for (int i = 0; i < z->w; ++i) m.map[i] = static_cast<int>(q[i]) < n ? static_cast<int>(q[i]) : n - 1;
  SDL_FreeSurface(z);
  return m.map;
}

blit_plan plan_blit(int src_w, int src_h, const SDL_Rect& src_rect, const SDL_Rect& clip, const SDL_Rect& dst_rect) {
  blit_plan p;
  int dx = dst_rect.x, dy = dst_rect.y;
  int sx = src_rect.x, w = src_rect.w;
  if (sx < 0) {
    w += sx;
    dx -= sx;
    sx = 0;
  }
  if (src_w - sx < w) w = src_w - sx;
  int sy = src_rect.y, h = src_rect.h;
  if (sy < 0) {
    h += sy;
    dy -= sy;
    sy = 0;
  }
  if (src_h - sy < h) h = src_h - sy;
  int d = clip.x - dx;
  if (d > 0) {
    w -= d;
    dx += d;
    sx += d;
  }
  d = dx + w - clip.x - clip.w;
  if (d > 0) w -= d;
  d = clip.y - dy;
  if (d > 0) {
    h -= d;
    dy += d;
    sy += d;
  }
  d = dy + h - clip.y - clip.h;
  if (d > 0) h -= d;
  p.sx = sx;
  p.sy = sy;
  p.w = w;
  p.h = h;
  p.dx = dx;
  p.dy = dy;
  p.dst_out = {to_s16(dx), to_s16(dy), 0, 0};
  if (p.visible()) {
    p.dst_out.w = to_u16(w);
    p.dst_out.h = to_u16(h);
  }
  return p;
}

bool zoom_window_draw(img_mgr& img, int x, int y, SDL_Surface* target, double zoom, double depth) {
  SDL_Surface* s = img.pixels();
  // Covered: per-draw zoomed copies of 32-bit pictures, which rotozoomSurface
  // copies pixel for pixel without conversion, and zoomed copies too large to
  // keep (only the part that reaches the target is ever made).
  if (!s || !target || s->format->BitsPerPixel != 32 || s->format->BytesPerPixel != 4) return false;
  // With the fast path on, every zoomed draw is built here at the exact zoom:
  // the fighters then scale with the camera frame by frame (as in OpenGL
  // mode) instead of keeping a copy per 4% zoom step, and no copy is kept.
  if (!fast_path_on && !img.no_zoom_cache && !zoom_window_needed(img, zoom)) return false;
  const std::vector<int>& cols = zoom_line_map(s->w, zoom);
  const std::vector<int>& rows = zoom_line_map(s->h, zoom);
  if (cols.empty() || rows.empty()) return false;
  const int zw = static_cast<int>(cols.size());
  const int zh = static_cast<int>(rows.size());

  if (depth == 0.0) img.surface.get()->apply_colour_key();  // as the straightforward path leaves it

  // Geometry exactly as the straightforward path computes it.
  SDL_Rect& sr = img.src_rect;
  SDL_Rect& dr = img.dest_rect;
  sr.x = to_s16(trunc_to_int(sr.x * zoom));
  sr.y = to_s16(trunc_to_int(sr.y * zoom));
  sr.w = to_u16(trunc_to_int(sr.w * zoom));
  sr.h = to_u16(trunc_to_int(sr.h * zoom));
  dr.x = to_s16(trunc_to_int(static_cast<Sint16>(x) * zoom));
  dr.y = to_s16(y + s->h - zh);
  dr.w = to_u16(trunc_to_int(dr.w * zoom));
  dr.h = to_u16(trunc_to_int(dr.h * zoom));
  if (dr.x + dr.w > target->w) dr.w = to_u16(target->w - dr.x);
  if (dr.y + dr.h > target->h) dr.h = to_u16(target->h - dr.y);

  std::vector<blit_plan> plans;
  if (depth == 0.0) {
    plans.push_back(plan_blit(zw, zh, sr, target->clip_rect, dr));
    dr = plans.back().dst_out;
  } else {
    const int row_count = dr.y > target->h ? 0 : dr.h;
    plans.reserve(static_cast<size_t>(row_count));
    for_each_floor_strip(sr, dr, row_count, depth, [&] {
      plans.push_back(plan_blit(zw, zh, sr, target->clip_rect, dr));
      dr = plans.back().dst_out;
    });
  }

  const Uint8 opacity = static_cast<Uint8>(img.alpha & 0xFF);
  if ((depth != 0.0 || opacity == 255) && can_write_directly(s, target)) {
    const Uint32 key = SDL_MapRGB(s->format, 0, 255, 0);
    const bool lock = SDL_MUSTLOCK(target);
    if (!lock || SDL_LockSurface(target) == 0) {
      for (const blit_plan& p : plans) write_planned(s, cols, rows, key, p, target);
      if (lock) SDL_UnlockSurface(target);
    }
    img.src_rect = {0, 0, to_u16(s->w), to_u16(s->h)};
    img.dest_rect.w = to_u16(s->w);
    img.dest_rect.h = to_u16(s->h);
    return true;
  }

  int x_lo = zw, y_lo = zh, x_hi = 0, y_hi = 0;
  for (const blit_plan& p : plans) union_into(x_lo, y_lo, x_hi, y_hi, p);
  if (x_hi > x_lo && y_hi > y_lo) {
    SDL_Surface* window = scratch_for(s->format, x_hi - x_lo, y_hi - y_lo);
    if (window) {
      fill_window(s, window, cols, rows, x_lo, y_lo, x_hi - x_lo, y_hi - y_lo);
      // The zoomed copy is keyed with pure green; it comes out of the zoom
      // flagged for blending at full opacity, which without an alpha channel
      // copies the pixels unchanged, so the blit skips the blending path.
      SDL_SetColorKey(window, SDL_SRCCOLORKEY, SDL_MapRGB(depth == 0.0 ? window->format : s->format, 0, 255, 0));
      if (depth == 0.0 && opacity < 255) {
        SDL_SetAlpha(window, SDL_SRCALPHA, opacity);  // really translucent: blend
      } else if (window->format->Amask == 0) {
        SDL_SetAlpha(window, 0, 255);
      } else {
        SDL_SetAlpha(window, SDL_SRCALPHA, 255);
      }
      for (const blit_plan& p : plans) blit_planned(window, x_lo, y_lo, p, target);
    }
  }
  img.src_rect = {0, 0, to_u16(s->w), to_u16(s->h)};
  img.dest_rect.w = to_u16(s->w);
  img.dest_rect.h = to_u16(s->h);
  return true;
}

#include "gfx/pixel_share.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace {

// Every table here lives until the program ends and is never destroyed: the
// kept copies it alone points to stay reachable while the exit handlers run
// (a leak check at exit would otherwise see them as lost).
template <typename T>
T& never_destroyed() {
  return *new T;
}

// Shared copy -> the surface that owns its pixels. An entry whose copy was
// freed behind our back (its address reused) is told apart by the pixels:
// the owner is kept alive by the copy's count, so its pixels can't be reused.
auto& owners = never_destroyed<std::unordered_map<SDL_Surface*, SDL_Surface*>>();

// Decoded pictures counted against the budget -> their pixel count.
auto& counted = never_destroyed<std::unordered_map<SDL_Surface*, long long>>();
long long picture_total = 0;
long long zoomed_total = 0;

// Kept mirrors and zoomed copies, by the pixels they were made from. They
// live until the program ends (like the zoom entries of the images), and so
// do the pixels they were made from, so a key is never reused.
auto& mirrors = never_destroyed<std::map<const void*, SDL_Surface*>>();
auto& recolours = never_destroyed<std::map<std::pair<const void*, recolour_key>, SDL_Surface*>>();
// Kept zoomed copies, with who points at them and when they were last drawn.
struct kept_zoom_record {
  SDL_Surface* surface = nullptr;
  long long pixels = 0;
  unsigned long long last_drawn = 0;  // use_clock at the last draw
  std::vector<SDL_Surface**> holders;
};
using zoom_key = std::tuple<const void*, int, uint32_t>;
auto& zooms = never_destroyed<std::map<zoom_key, kept_zoom_record>>();
auto& zoom_key_of = never_destroyed<std::unordered_map<SDL_Surface*, zoom_key>>();
unsigned long long use_clock = 0;
long long let_go = 0;

// Pixels -> colours (24-bit) known to be absent from them. Pixels are freed
// through free_picture_surface, which forgets them.
auto& absent_colours = never_destroyed<std::map<const void*, std::vector<uint32_t>>>();

SDL_Surface* owner_of(SDL_Surface* s) {
  auto it = owners.find(s);
  if (it != owners.end() && it->second->pixels == s->pixels) return it->second;
  return s;
}

// Surfaces kept alive for the kept copies made from them (listed, so they are
// never mistaken for lost memory).
auto& pinned = never_destroyed<std::vector<SDL_Surface*>>();

void pin(SDL_Surface* s) {
  SDL_Surface* owner = owner_of(s);
  ++owner->refcount;
  pinned.push_back(owner);
}

// Called just before SDL_FreeSurface(s): the last user of counted pixels gives
// them back, and what was known about them is forgotten.
void uncount_if_last(SDL_Surface* s) {
  if (s->refcount > 1) return;
  if (owner_of(s) == s) absent_colours.erase(s->pixels);
  auto it = counted.find(s);
  if (it == counted.end()) return;
  picture_total -= it->second;
  counted.erase(it);
}

// Takes back one pin of the pixels `pixels`: a kept copy made from them went.
void unpin(const void* pixels) {
  for (auto it = pinned.begin(); it != pinned.end(); ++it) {
    if ((*it)->pixels != pixels) continue;
    SDL_Surface* owner = *it;
    pinned.erase(it);
    uncount_if_last(owner);
    SDL_FreeSurface(owner);
    return;
  }
}

long long screen_area() {
  SDL_Surface* screen = SDL_GetVideoSurface();
  if (!screen) return 640LL * 480LL;
  return static_cast<long long>(screen->w) * screen->h;
}

}  // namespace

long long picture_pixels_in_use() { return picture_total; }
long long zoomed_pixels_in_use() { return zoomed_total; }

bool claim_picture_pixels(long long w, long long h) {
  return w >= 0 && h >= 0 && picture_total + w * h <= max_total_picture_pixels;
}

void count_picture_surface(SDL_Surface* s) {
  if (!s || counted.count(s)) return;
  const long long n = static_cast<long long>(s->w) * s->h;
  counted[s] = n;
  picture_total += n;
}

void transfer_picture_count(SDL_Surface* from, SDL_Surface* to) {
  if (!from || !counted.count(from)) return;
  if (to) count_picture_surface(to);
}

SDL_Surface* share_pixels(SDL_Surface* s) {
  if (!s || !s->pixels || s->format->palette) return nullptr;
  SDL_Surface* owner = owner_of(s);
  const SDL_PixelFormat* f = owner->format;
  SDL_Surface* view = SDL_CreateRGBSurfaceFrom(owner->pixels, owner->w, owner->h, f->BitsPerPixel, owner->pitch,
                                               f->Rmask, f->Gmask, f->Bmask, f->Amask);
  if (!view) return nullptr;
  ++owner->refcount;
  owners[view] = owner;
  if (s->flags & SDL_SRCCOLORKEY) SDL_SetColorKey(view, SDL_SRCCOLORKEY, s->format->colorkey);
  if (s->flags & SDL_SRCALPHA) {
    SDL_SetAlpha(view, SDL_SRCALPHA, s->format->alpha);
  } else {
    SDL_SetAlpha(view, 0, 255);
  }
  return view;
}

bool pixels_shared(SDL_Surface* s) { return s && (owner_of(s) != s || s->refcount > 1); }

SDL_Surface* copy_pixels(SDL_Surface* s) {
  if (!s) return nullptr;
  const SDL_PixelFormat* f = s->format;
  SDL_Surface* c = nullptr;
  if (f->palette) {
    c = SDL_ConvertSurface(s, s->format, SDL_SWSURFACE);
  } else {
    c = SDL_CreateRGBSurface(SDL_SWSURFACE, s->w, s->h, f->BitsPerPixel, f->Rmask, f->Gmask, f->Bmask, f->Amask);
    if (c) {
      SDL_LockSurface(s);
      const size_t row = static_cast<size_t>(s->w) * f->BytesPerPixel;
      for (int y = 0; y < s->h; ++y) {
        std::memcpy(static_cast<Uint8*>(c->pixels) + static_cast<size_t>(y) * c->pitch,
                    static_cast<const Uint8*>(s->pixels) + static_cast<size_t>(y) * s->pitch, row);
      }
      SDL_UnlockSurface(s);
    }
  }
  if (!c) return nullptr;
  if (s->flags & SDL_SRCCOLORKEY) SDL_SetColorKey(c, SDL_SRCCOLORKEY, f->colorkey);
  if (s->flags & SDL_SRCALPHA) {
    SDL_SetAlpha(c, SDL_SRCALPHA, f->alpha);
  } else {
    SDL_SetAlpha(c, 0, 255);
  }
  return c;
}

void free_picture_surface(SDL_Surface* s) {
  if (!s) return;
  SDL_Surface* owner = nullptr;
  auto it = owners.find(s);
  if (it != owners.end()) {
    if (it->second->pixels == s->pixels) owner = it->second;
    owners.erase(it);
  }
  uncount_if_last(s);
  SDL_FreeSurface(s);
  if (owner) {
    uncount_if_last(owner);
    SDL_FreeSurface(owner);
  }
}

bool colour_known_absent(SDL_Surface* s, uint32_t rgb) {
  if (!s) return false;
  auto it = absent_colours.find(s->pixels);
  if (it == absent_colours.end()) return false;
  for (uint32_t c : it->second) {
    if (c == rgb) return true;
  }
  return false;
}

void note_colour_absent(SDL_Surface* s, uint32_t rgb) {
  if (!s) return;
  auto it = absent_colours.find(s->pixels);
  if (it == absent_colours.end()) it = absent_colours.emplace(s->pixels, std::vector<uint32_t>()).first;
  if (it->second.size() < 64) it->second.push_back(rgb);
}

void note_pixels_written(SDL_Surface* s) {
  if (!s) return;
  auto it = absent_colours.find(s->pixels);
  if (it != absent_colours.end()) it->second.clear();
}

SDL_Surface* shared_recolour_of(SDL_Surface* s, const recolour_key& key) {
  if (!s) return nullptr;
  auto it = recolours.find(std::make_pair(static_cast<const void*>(s->pixels), key));
  if (it == recolours.end()) return nullptr;
  SDL_Surface* view = share_pixels(it->second);
  if (!view) return nullptr;
  if (s->flags & SDL_SRCCOLORKEY) {
    SDL_SetColorKey(view, SDL_SRCCOLORKEY, s->format->colorkey);
  } else {
    SDL_SetColorKey(view, 0, 0);
  }
  if (s->flags & SDL_SRCALPHA) {
    SDL_SetAlpha(view, SDL_SRCALPHA, s->format->alpha);
  } else {
    SDL_SetAlpha(view, 0, 255);
  }
  return view;
}

void keep_recolour(SDL_Surface* source, const recolour_key& key, SDL_Surface* recoloured) {
  if (!source || !recoloured) return;
  auto k = std::make_pair(static_cast<const void*>(source->pixels), key);
  if (recolours.count(k)) return;
  ++recoloured->refcount;
  pin(source);
  recolours[k] = recoloured;
  count_picture_surface(recoloured);
}

SDL_Surface* shared_mirror_of(SDL_Surface* s) {
  if (!s) return nullptr;
  auto it = mirrors.find(s->pixels);
  return it == mirrors.end() ? nullptr : share_pixels(it->second);
}

void keep_mirror(SDL_Surface* s, SDL_Surface* mirror) {
  if (!s || !mirror || mirrors.count(s->pixels)) return;
  ++mirror->refcount;
  pin(s);
  mirrors[s->pixels] = mirror;
  count_picture_surface(mirror);
}

SDL_Surface* kept_zoom(SDL_Surface* s, int key, uint32_t flipped) {
  if (!s) return nullptr;
  auto it = zooms.find(std::make_tuple(static_cast<const void*>(s->pixels), key, flipped));
  if (it == zooms.end()) return nullptr;
  ++it->second.surface->refcount;
  return it->second.surface;
}

bool zoom_may_be_kept(long long zw, long long zh) {
  if (zw <= 0 || zh <= 0 || zw > max_picture_side || zh > max_picture_side) return false;
  const long long n = zw * zh;
  return n <= screen_area() && n <= max_total_zoomed_pixels;
}

namespace {

// Lets go of a kept zoomed copy: every holder forgets it and its pixels are
// freed, whatever counts the holders had on it; the pixels it was made from
// are no longer kept for it.
void let_go_zoom(std::map<zoom_key, kept_zoom_record>::iterator it) {
  kept_zoom_record& r = it->second;
  for (SDL_Surface** holder : r.holders) {
    if (*holder == r.surface) *holder = nullptr;
  }
  zoomed_total -= r.pixels;
  zoom_key_of.erase(r.surface);
  r.surface->refcount = 1;
  SDL_FreeSurface(r.surface);
  const void* source = std::get<0>(it->first);
  zooms.erase(it);
  unpin(source);
}

// Lets go of the copy drawn longest ago.
void let_go_oldest() {
  auto oldest = zooms.end();
  for (auto it = zooms.begin(); it != zooms.end(); ++it) {
    if (oldest == zooms.end() || it->second.last_drawn < oldest->second.last_drawn) oldest = it;
  }
  if (oldest == zooms.end()) return;
  let_go_zoom(oldest);
  ++let_go;
}

}  // namespace

void keep_zoom(SDL_Surface* s, int key, uint32_t flipped, SDL_Surface* z, SDL_Surface** holder) {
  if (!s || !z) return;
  auto k = std::make_tuple(static_cast<const void*>(s->pixels), key, flipped);
  if (zooms.count(k)) return;
  const long long n = static_cast<long long>(z->w) * z->h;
  while (!zooms.empty() && zoomed_total + n > max_total_zoomed_pixels) let_go_oldest();
  ++z->refcount;
  pin(s);
  kept_zoom_record& r = zooms[k];
  r.surface = z;
  r.pixels = n;
  r.last_drawn = ++use_clock;
  if (holder) r.holders.push_back(holder);
  zoom_key_of[z] = k;
  zoomed_total += n;
}

void hold_zoom(SDL_Surface* z, SDL_Surface** holder) {
  auto it = zoom_key_of.find(z);
  if (it == zoom_key_of.end() || !holder) return;
  zooms[it->second].holders.push_back(holder);
}

void drop_zoom_holder(SDL_Surface** holder) {
  if (!holder || !*holder) return;
  auto it = zoom_key_of.find(*holder);
  if (it == zoom_key_of.end()) return;
  std::vector<SDL_Surface**>& holders = zooms[it->second].holders;
  holders.erase(std::remove(holders.begin(), holders.end(), holder), holders.end());
}

void note_zoom_drawn(SDL_Surface* z) {
  auto it = zoom_key_of.find(z);
  if (it != zoom_key_of.end()) zooms[it->second].last_drawn = ++use_clock;
}

long long zooms_let_go() { return let_go; }

void forget_copies_made_from(SDL_Surface* s) {
  if (!s || !s->pixels) return;
  const void* pixels = s->pixels;
  // Recoloured copies first, with the copies made from them in turn.
  for (auto it = recolours.begin(); it != recolours.end();) {
    if (it->first.first != pixels) {
      ++it;
      continue;
    }
    SDL_Surface* recoloured = it->second;
    it = recolours.erase(it);
    forget_copies_made_from(recoloured);
    free_picture_surface(recoloured);  // the table's count; the pixels go with their last user
    unpin(pixels);
  }
  const auto mirror = mirrors.find(pixels);
  if (mirror != mirrors.end()) {
    SDL_Surface* kept = mirror->second;
    mirrors.erase(mirror);
    forget_copies_made_from(kept);
    free_picture_surface(kept);
    unpin(pixels);
  }
  for (auto it = zooms.begin(); it != zooms.end();) {
    auto next = std::next(it);
    if (std::get<0>(it->first) == pixels) let_go_zoom(it);
    it = next;
  }
}

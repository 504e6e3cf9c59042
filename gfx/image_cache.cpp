#include "gfx/image_cache.h"

#include <SDL_opengl.h>

#include <algorithm>
#include <new>
#include <vector>

#include "core/startup_order.h"
#include "gfx/pixel_share.h"
#include "gfx/screen.h"

nmanager<img_mgr> image_cache STARTUP_ORDER(STARTUP_IMAGE_CACHE);

void cache_load(img_mgr* item, const char* name) {
  if (item) item->load(name);
}

std::unique_ptr<img_mgr> cache_copy(const img_mgr& item) {
  return std::unique_ptr<img_mgr>(new (std::nothrow) img_mgr(item));
}

namespace {

bool cache_uses_holder(const shared_surface* h) {
  for (const img_mgr* kept : image_cache.items) {
    if (kept->surface.get() == h || kept->mirror.get() == h) return true;
  }
  return false;
}

bool cache_uses_texture(uint32_t texture) {
  for (const img_mgr* kept : image_cache.items) {
    if (kept->texture == texture) return true;
  }
  return false;
}

bool cache_uses_zoom_entry(const zoom_entry* e) {
  for (const img_mgr* kept : image_cache.items) {
    if (std::find(kept->zoom_cache.begin(), kept->zoom_cache.end(), e) != kept->zoom_cache.end()) return true;
  }
  return false;
}

// A holder nobody counts any more is freed with its pixels; one that a cached
// image still counts stays.
void drop_holder(shared_surface* h) {
  if (!h || cache_uses_holder(h)) return;
  if (h->ref_count > 0) return;  // still counted by some other image
  if (h->surface) {
    SDL_FreeSurface(h->surface);
    h->surface = nullptr;
  }
  delete h;
}

}  // namespace

void free_private_copy(img_mgr* copy) {
  if (!copy || image_cache.keeps(copy)) return;
  std::vector<zoom_entry*> zoomed;
  for (zoom_entry* e : copy->zoom_cache) {
    if (e && !cache_uses_zoom_entry(e)) zoomed.push_back(e);
  }
  if (opengl_mode() && copy->has_texture() && !cache_uses_texture(copy->texture)) {
    GLuint name = copy->texture;
    glDeleteTextures(1, &name);
    copy->texture = no_texture;
  }
  shared_surface* shown = copy->surface.get();
  shared_surface* mirror = copy->mirror.get();
  delete copy;  // drops its two counts
  drop_holder(shown);
  if (mirror != shown) drop_holder(mirror);
  for (zoom_entry* e : zoomed) {
    drop_zoom_holder(&e->surface);
    if (e->surface) SDL_FreeSurface(e->surface);
    delete e;
  }
}

#include "app/fight_cleanup.h"

#include <SDL_opengl.h>

#include <algorithm>
#include <vector>

#include "app/video.h"
#include "core/nmanager.h"
#include "fighter/lifeform.h"
#include "gfx/img_mgr.h"

namespace {

bool cache_keeps_image(const img_mgr* img) {
  return std::find(image_cache.items.begin(), image_cache.items.end(), img) != image_cache.items.end();
}

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

void free_private_image(img_mgr* img) {
  if (!img || cache_keeps_image(img)) return;
  std::vector<zoom_entry*> zoomed;
  for (zoom_entry* e : img->zoom_cache) {
    if (e && !cache_uses_zoom_entry(e)) zoomed.push_back(e);
  }
  if (opengl_mode() && img->has_texture() && !cache_uses_texture(img->texture)) {
    GLuint name = img->texture;
    glDeleteTextures(1, &name);
    img->texture = 0xFFFFFFFFu;
  }
  shared_surface* shown = img->surface.get();
  shared_surface* mirror = img->mirror.get();
  delete img;  // drops its two counts
  drop_holder(shown);
  if (mirror != shown) drop_holder(mirror);
  for (zoom_entry* e : zoomed) {
    if (e->surface) SDL_FreeSurface(e->surface);
    delete e;
  }
}

}  // namespace

void free_projectile(lifeform* l) {
  if (!l) return;
  // Only a spawned bullet holds picture copies of its own; a weapon's
  // projectile shows its stream's pictures, which the weapon's maker keeps.
  if (l->owns_path) {
    std::vector<img_mgr*> pictures = l->images;
    std::sort(pictures.begin(), pictures.end());
    pictures.erase(std::unique(pictures.begin(), pictures.end()), pictures.end());
    for (img_mgr* img : pictures) free_private_image(img);
  }
  l->images.clear();
  delete l;
}

size_t remove_dead_projectiles() {
  if (lifeform_list.size() <= 2) return 0;
  size_t kept = 2;
  size_t removed = 0;
  for (size_t i = 2; i < lifeform_list.size(); ++i) {
    lifeform* l = lifeform_list[i];
    if (l && l->alive()) {
      lifeform_list[kept++] = l;
    } else {
      free_projectile(l);
      ++removed;
    }
  }
  lifeform_list.resize(kept);
  return removed;
}

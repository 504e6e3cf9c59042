#include "gfx/image_cache.h"

#include <SDL_opengl.h>

#include <new>
#include <string>
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

private_image copy_private(const img_mgr* src) {
  return src ? hold_private(cache_copy(*src)) : nullptr;
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

// A holder nobody counts any more is freed with its pixels; one that a cached
// image still counts stays.
void drop_holder(shared_surface* h) {
  if (!h || cache_uses_holder(h)) return;
  if (h->ref_count > 0) return;  // still counted by some other image
  if (h->surface) {
    free_picture_surface(h->surface);  // also the shared pixels' count of this user
    h->surface = nullptr;
  }
  delete h;
}

}  // namespace

void free_private_copy(img_mgr* copy) {
  if (!copy || image_cache.keeps(copy)) return;
  const uint32_t texture = copy->texture;
  shared_surface* shown = copy->surface.get();
  shared_surface* mirror = copy->mirror.get();
  delete copy;  // drops its two counts and its hold on the texture
  drop_holder(shown);
  if (mirror != shown) drop_holder(mirror);
  // Copies share their source's texture: it goes with the last of them.
  if (opengl_mode() && texture != no_texture && texture_holders(texture) == 0 && !cache_uses_texture(texture)) {
    GLuint name = texture;
    glDeleteTextures(1, &name);
  }
}

void reload_kept_picture(img_mgr* stored, const char* name) {
  if (!stored || !image_cache.keeps(stored)) return;
  const std::string spelled = stored->name[0] ? stored->name : (name ? name : "");
  if (opengl_mode() && stored->has_texture()) {
    GLuint texture = stored->texture;
    glDeleteTextures(1, &texture);
  }
  shared_surface* old_pixels = stored->surface.get();
  shared_surface* old_mirror = stored->mirror.get();
  // The copies kept for the old pixels would hold them for ever.
  if (old_pixels) forget_copies_made_from(old_pixels->surface);
  img_mgr fresh;
  fresh.load(spelled.c_str());
  *stored = fresh;  // also empties its zoomed copies and mirror
  // Nobody counts the old holders any more: they go with their pixels.
  auto free_uncounted = [](shared_surface* h) {
    if (!h || h->ref_count > 0) return;
    if (h->surface) free_picture_surface(h->surface);
    delete h;
  };
  free_uncounted(old_pixels);
  if (old_mirror != old_pixels) free_uncounted(old_mirror);
}

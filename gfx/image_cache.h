// The cache of loaded pictures, keyed by data name (core/nmanager.h), and the
// one way to free a picture copy it handed out.
#pragma once
#include <memory>

#include "core/nmanager.h"
#include "gfx/img_mgr.h"

void cache_load(img_mgr* item, const char* name);
std::unique_ptr<img_mgr> cache_copy(const img_mgr& item);  // null when out of memory

// Built before main (core/startup_order.h); lives until the program ends.
extern nmanager<img_mgr> image_cache;

// Frees a copy image_cache handed out, with what it alone holds (its pixels,
// mirror and texture); what it still shares with another image is left alone,
// and so are its zoomed copies (gfx/zoom_entries.h). A picture the cache keeps
// is never freed here.
void free_private_copy(img_mgr* copy);

// The cache's own picture `stored` reads its file again (`name` as the data
// spells it): copies made from it afterwards show the new pixels. Its old
// pixels, mirror, texture and zoomed copies go, so every image that showed
// them must have been freed first.
void reload_kept_picture(img_mgr* stored, const char* name);

struct private_copy_deleter {
  void operator()(img_mgr* copy) const { free_private_copy(copy); }
};
// A picture copy owned by one holder, freed by free_private_copy.
using private_image = std::unique_ptr<img_mgr, private_copy_deleter>;
// A copy the cache gave (fetched<img_mgr>::take_copy, cache_copy), held from
// now on as a private_image.
inline private_image hold_private(std::unique_ptr<img_mgr> copy) { return private_image(copy.release()); }
// A new private copy of `src` (null when `src` is, or out of memory).
private_image copy_private(const img_mgr* src);

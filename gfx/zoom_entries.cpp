#include "gfx/zoom_entries.h"

#include <memory>
#include <vector>

#include "gfx/pixel_share.h"

namespace {

std::vector<std::unique_ptr<zoom_entry>>& entries() {
  // Never destroyed: images freed at exit may still list their entries.
  static auto* all = new std::vector<std::unique_ptr<zoom_entry>>;
  return *all;
}

}  // namespace

zoom_entry* new_zoom_entry(int32_t key, uint32_t flipped) {
  entries().push_back(std::make_unique<zoom_entry>(zoom_entry{nullptr, key, flipped}));
  return entries().back().get();
}

size_t zoom_entries_made() { return entries().size(); }

void free_all_zoom_entries() {
  for (const std::unique_ptr<zoom_entry>& e : entries()) {
    drop_zoom_holder(&e->surface);
    if (e->surface) SDL_FreeSurface(e->surface);
  }
  entries().clear();
}

#include "core/nmanager.h"

void cache_load(img_mgr* item, const char* name) {
  if (item) item->load(name);
}

img_mgr* cache_copy(const img_mgr& item) { return new (std::nothrow) img_mgr(item); }

void cache_load(sound_effect* item, const char* name) {
  if (item) item->load_sound(name);
}

sound_effect* cache_copy(const sound_effect& item) {
  sound_effect* copy = new (std::nothrow) sound_effect;
  if (!copy) return nullptr;
  // Shares the sample: samples are never freed while the game runs.
  copy->ref_count = item.ref_count;
  copy->chunk = item.chunk;
  return copy;
}

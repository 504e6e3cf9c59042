// Process-wide caches of loaded files keyed by data name: the first fetch of a
// name loads the file (even when that fails) and keeps the object; later fetches
// return a copy the caller owns. The caches are globals built before main in
// app/globals.cpp and destroyed at exit, newest object first.
#pragma once
#include <new>
#include <vector>

#include "core/counted_ptr.h"
#include "core/data_path.h"
#include "core/log.h"
#include "core/name_hash.h"
#include "fighter/sound_effect.h"
#include "gfx/img_mgr.h"

// How each cached type is loaded and copied (core/nmanager.cpp).
void cache_load(img_mgr* item, const char* name);
img_mgr* cache_copy(const img_mgr& item);  // null when out of memory
void cache_load(sound_effect* item, const char* name);
sound_effect* cache_copy(const sound_effect& item);

template <typename T>
class nmanager {
 public:
  name_hash names;        // data name -> stored object (not owned by the table)
  std::vector<T*> items;  // every stored object, in insertion order; owned here

  nmanager() { names.file_name_keys = true; }
  nmanager(const nmanager&) = delete;
  nmanager& operator=(const nmanager&) = delete;
  ~nmanager() {
    for (size_t i = items.size(); i-- > 0;) delete items[i];
    items.clear();
  }

  // The stored object on the first fetch of `name` (the cache keeps it; the
  // caller may change it, and later copies see the change), a new copy owned by
  // the caller afterwards. Null only when a copy cannot be allocated.
  T* fetch(const char* name) {
    if (!name) name = "";
    T* p = static_cast<T*>(names.lookup(name));
    if (p) {
      log_out("Found in nmanager cache [%s] copying\n", name);
      return cache_copy(*p);
    }
    T* created = new (std::nothrow) T();
    counted_ptr<T> hold(created);
    cache_load(hold.operator->(), name);
    if (!created) return nullptr;
    if (!fits_table(normal_data_name(name).c_str())) {
      // Such a name cannot be told apart from others in the table: load it
      // every time, but keep ownership so it is still freed at exit.
      log_out("WARNING: cache name longer than %d characters, not shared [%s]\n",
              name_hash::name_size - 1, name);
    } else {
      names.insert(name, created);
    }
    items.push_back(created);
    return created;
  }

 private:
  static bool fits_table(const char* name) {
    for (int i = 0; i < name_hash::name_size; ++i) {
      if (name[i] == '\0') return true;
    }
    return false;
  }
};

extern nmanager<sound_effect> sound_cache;
extern nmanager<img_mgr> image_cache;

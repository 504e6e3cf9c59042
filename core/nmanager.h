// Process-wide caches of loaded files keyed by data name: the first fetch of a
// name loads the file (even when that fails) and keeps the object; later fetches
// return a copy the caller owns. Each cache is declared beside the type it holds
// (gfx/image_cache.h, fighter/sound_effect.h), built before main in the order
// of core/startup_order.h, and destroyed at exit, newest object first.
//
// A cached type T provides, found by argument-dependent lookup:
//   void cache_load(T* item, const char* name);        // fills a new item from the file
//   std::unique_ptr<T> cache_copy(const T& item);      // null when out of memory
#pragma once
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "core/counted_ptr.h"
#include "core/data_path.h"
#include "core/log.h"
#include "core/name_hash.h"

// What fetch hands out, and whether the caller owns it.
template <typename T>
class fetched {
 public:
  // The cache's own object: the caller may change it (later copies see the
  // change) but never frees it.
  static fetched lent(T* item) {
    fetched f;
    f.lent_ = item;
    return f;
  }
  // A copy that belongs to the caller from now on.
  static fetched given(std::unique_ptr<T> copy) {
    fetched f;
    f.owned_ = std::move(copy);
    return f;
  }

  T* get() const { return owned_ ? owned_.get() : lent_; }
  T* operator->() const { return get(); }
  explicit operator bool() const { return get() != nullptr; }
  bool is_lent() const { return lent_ != nullptr; }

  // The caller's copy, taken out of this result; null when the object was lent.
  std::unique_ptr<T> take_copy() { return std::move(owned_); }

 private:
  T* lent_ = nullptr;
  std::unique_ptr<T> owned_;
};

// A cache's own object held by something that never frees it: the cache
// keeps it until the program ends. Made only from a lent fetch, so holding
// one never leaves a copy without an owner.
template <typename T>
class cache_ref {
 public:
  cache_ref() = default;
  // The lent object of `f`; empty when `f` holds a copy (or nothing).
  static cache_ref of(const fetched<T>& f) {
    cache_ref r;
    if (f.is_lent()) r.item_ = f.get();
    return r;
  }

  T* get() const { return item_; }
  T* operator->() const { return item_; }
  explicit operator bool() const { return item_ != nullptr; }

 private:
  T* item_ = nullptr;
};

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

  // The stored object, lent, on the first fetch of `name`; a new copy given to
  // the caller afterwards. Empty only when a copy cannot be allocated.
  fetched<T> fetch(const char* name) {
    if (!name) name = "";
    T* p = static_cast<T*>(names.lookup(name));
    if (p) {
      log_out("Found in nmanager cache [%s] copying\n", name);
      return fetched<T>::given(cache_copy(*p));
    }
    T* created = new (std::nothrow) T();
    counted_ptr<T> hold(created);
    cache_load(hold.operator->(), name);
    if (!created) return fetched<T>();
    if (!fits_table(normal_data_name(name).c_str())) {
      // Such a name cannot be told apart from others in the table: load it
      // every time, but keep ownership so it is still freed at exit.
      log_out("WARNING: cache name longer than %d characters, not shared [%s]\n",
              name_hash::name_size - 1, name);
    } else {
      names.insert(name, created);
    }
    items.push_back(created);
    return fetched<T>::lent(created);
  }

  // Frees every stored object and forgets every name, as at exit: for
  // harnesses that load many unrelated trees in one process. Nothing fetched
  // before may be used afterwards.
  void forget_all() {
    for (size_t i = items.size(); i-- > 0;) delete items[i];
    items.clear();
    names.~name_hash();
    new (&names) name_hash();
    names.file_name_keys = true;
  }

  // The stored object of `name`, or null when none was fetched yet; nothing
  // is loaded, copied or said.
  T* find(const char* name) { return static_cast<T*>(names.lookup(name ? name : "")); }

  // True when `item` is one of the objects this cache keeps.
  bool keeps(const T* item) const {
    for (const T* kept : items) {
      if (kept == item) return true;
    }
    return false;
  }

 private:
  static bool fits_table(const char* name) {
    for (int i = 0; i < name_hash::name_size; ++i) {
      if (name[i] == '\0') return true;
    }
    return false;
  }
};

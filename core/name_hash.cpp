#include "core/name_hash.h"

#include <cstring>

#include "core/log.h"

name_hash::name_hash() { log_out("making hash empty\n"); }

name_hash::~name_hash() {
  while (first_) {
    entry* next = first_->next;
    delete first_;
    first_ = next;
  }
}

void name_hash::insert(const char* name, void* data) {
  entry* e = new entry;
  std::strncpy(e->name, name ? name : "", name_size - 1);
  e->name[name_size - 1] = '\0';
  e->data = data;
  e->next = nullptr;
  if (last_) {
    last_->next = e;
  } else {
    first_ = e;
  }
  last_ = e;
}

void* name_hash::lookup(const char* name) const {
  if (!name) return nullptr;
  for (const entry* e = first_; e; e = e->next) {
    if (std::strcmp(e->name, name) == 0) return e->data;
  }
  return nullptr;
}

#include "core/name_hash.h"

#include <cstring>
#include <string>

#include "core/data_path.h"
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
  std::string normal;
  if (file_name_keys) {
    normal = normal_data_name(name);
    name = normal.c_str();
  }
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
  std::string normal;
  if (file_name_keys) {
    normal = normal_data_name(name);
    name = normal.c_str();
  }
  for (const entry* e = first_; e; e = e->next) {
    if (std::strcmp(e->name, name) == 0) return e->data;
  }
  return nullptr;
}

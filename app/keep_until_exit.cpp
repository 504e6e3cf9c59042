#include "app/keep_until_exit.h"

#include <vector>

void keep_pointer_until_exit(const void* object) {
  // Never destroyed, so nothing it lists is freed at exit either.
  static std::vector<const void*>* const kept = new std::vector<const void*>;
  kept->push_back(object);
}

// Objects the game makes for the whole run and keeps until the process ends:
// the stage, and the two fighters on it when the run ends. They are never
// destroyed: freeing them at exit would only cost time and print their
// pictures' lines, and the process gives their memory back.
#pragma once
#include <memory>

// Lists `object` where a leak checker still finds it; never freed.
void keep_pointer_until_exit(const void* object);

// Takes `object` from its owner for good and returns it: from now on nothing
// frees it. Null stays null.
template <typename T>
T* keep_until_exit(std::unique_ptr<T> object) {
  T* kept = object.release();
  if (kept) keep_pointer_until_exit(kept);
  return kept;
}

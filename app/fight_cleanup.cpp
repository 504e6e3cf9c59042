#include "app/fight_cleanup.h"

#include "fighter/lifeform.h"

void free_projectile(lifeform* l) {
  if (!l) return;
  // Only a spawned bullet holds picture copies of its own (owned_images, freed
  // with it); a weapon's projectile shows its stream's pictures, which the
  // weapon's maker keeps.
  l->images.clear();
  delete l;
}

size_t remove_dead_projectiles() {
  if (lifeform_list.size() <= 2) return 0;
  size_t kept = 2;
  size_t removed = 0;
  for (size_t i = 2; i < lifeform_list.size(); ++i) {
    lifeform* l = lifeform_list[i];
    if (l && l->alive()) {
      lifeform_list[kept++] = l;
    } else {
      free_projectile(l);
      ++removed;
    }
  }
  lifeform_list.resize(kept);
  return removed;
}

#include "fight/fight_cleanup.h"

#include "fighter/lifeform.h"

void free_projectile(lifeform* l) { delete l; }

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

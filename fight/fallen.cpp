#include "fight/fallen.h"

#include "fight/fight_host.h"
#include "fighter/lifeform.h"

void put_down_fallen(lifeform& a, lifeform& b) {
  for (lifeform* l : {&a, &b}) {
    if (l->hp >= 0) continue;
    l->state = posture_standing;
    l->y = fight_screen_height() - l->height;
  }
}

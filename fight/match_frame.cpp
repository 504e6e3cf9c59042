#include "fight/match_frame.h"

#include "fight/round_reset.h"
#include "fighter/lifeform.h"

void run_match_rules(match_state& m) {
  fighter_health health[2] = {{0, 1}, {0, 1}};
  for (int k = 0; k < 2; ++k) {
    if (const lifeform* l = lifeform_at(k)) health[k] = {l->hp, l->max_hp};
  }
  const match_phase before = m.phase;
  if (m.advance(health)) {
    reset_for_next_round();
    m.laid_down[0] = m.laid_down[1] = false;
  }
  if (before == match_phase::fighting && m.phase == match_phase::round_over && !m.by_time) {
    for (int k = 0; k < 2; ++k) {
      lifeform* l = lifeform_at(k);
      if (l && !l->alive()) {
        lay_down(*l);
        m.laid_down[k] = true;
      }
    }
  }
}

#include "app/replay/replay_state_hash.h"

#include <cstdint>
#include <cstring>

#include "anim/animation.h"
#include "fighter/combo.h"
#include "fighter/lifeform.h"
#include "fighter/path.h"

namespace {

// 64-bit FNV-1a.
struct hasher {
  uint64_t h = 1469598103934665603ULL;
  void bytes(const void* p, size_t n) {
    const unsigned char* c = static_cast<const unsigned char*>(p);
    for (size_t i = 0; i < n; ++i) h = (h ^ c[i]) * 1099511628211ULL;
  }
  void add(int64_t v) { bytes(&v, sizeof v); }
  void add(double v) { bytes(&v, sizeof v); }
};

void add_recognizer(hasher& h, const combo_recognizer& r) {
  h.add(static_cast<int64_t>(r.now));
  h.add(static_cast<int64_t>(r.history.size()));
  for (const key_event& e : r.history) {
    h.add(static_cast<int64_t>(e.key));
    h.add(static_cast<int64_t>(e.time));
    h.add(static_cast<int64_t>(e.state));
  }
  h.add(static_cast<int64_t>(r.attempts.size()));
  for (const combo_attempt& a : r.attempts) {
    h.add(static_cast<int64_t>(a.which ? a.which->combotype : -1));
    h.add(static_cast<int64_t>(a.step_index));
    h.add(static_cast<int64_t>(a.deadline));
    h.add(static_cast<int64_t>(a.last_match));
    h.add(static_cast<int64_t>(a.started));
  }
}

}  // namespace

unsigned long long fight_state_hash(unsigned long long random_state) {
  hasher h;
  h.add(static_cast<int64_t>(random_state));
  h.add(static_cast<int64_t>(lifeform_list.size()));
  for (const lifeform* l : lifeform_list) {
    if (!l || !l->alive()) continue;
    h.add(static_cast<int64_t>(l->x));
    h.add(static_cast<int64_t>(l->y));
    h.add(l->vx);
    h.add(l->vy);
    h.add(static_cast<int64_t>(l->hp));
    h.add(static_cast<int64_t>(l->state));
    h.add(static_cast<int64_t>(l->action));
    h.add(static_cast<int64_t>(l->facing));
    if (l->anim_stack) {
      for (const anim_play* p : *l->anim_stack) {
        h.add(static_cast<int64_t>(p->index));
        h.add(static_cast<int64_t>(p->countdown));
        h.add(static_cast<int64_t>(p->active));
      }
    }
    if (l->path) {
      h.add(static_cast<int64_t>(l->path->ai_decision));
      h.add(static_cast<int64_t>(l->path->step_index));
      add_recognizer(h, l->path->recognizer);
    }
  }
  return h.h;
}

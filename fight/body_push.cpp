#include "fight/body_push.h"

#include <algorithm>

#include "fight/object_step.h"
#include "core/safe_trunc.h"
#include "fighter/lifeform.h"

namespace {

// The fighter on the left by the boxes' centres; equal centres keep the
// sides the facing gives (facing right: on the left).
bool on_the_left(const lifeform& a, const lifeform& b) {
  const long long ca = 2LL * a.x + a.width;
  const long long cb = 2LL * b.x + b.width;
  if (ca != cb) return ca < cb;
  return a.facing == 1;
}

}  // namespace

void push_fighters_apart() {
  lifeform* a = lifeform_at(0);
  lifeform* b = lifeform_at(1);
  if (!a || !b || !a->alive() || !b->alive()) return;
  if (!on_floor(*a) || !on_floor(*b)) return;
  lifeform& left = on_the_left(*a, *b) ? *a : *b;
  lifeform& right = &left == a ? *b : *a;
  const long long overlap = static_cast<long long>(left.x) + left.width - right.x;
  if (overlap <= 0) return;

  // Room each has before its edge clamp would stop it.
  const long long left_room = std::max(0, left.x);
  const long long right_room = std::max(0LL, static_cast<long long>(trunc_to_int(held_right_limit(right))) - right.x);
  long long back = overlap / 2;
  long long on = overlap - back;
  if (back > left_room) {
    on += back - left_room;
    back = left_room;
  }
  if (on > right_room) {
    back = std::min(left_room, back + on - right_room);
    on = right_room;
  }
  left.x = static_cast<int>(left.x - back);
  right.x = static_cast<int>(right.x + on);
}

#include "app/dev/ai_duel.h"

#include <algorithm>
#include <cstdlib>

#include "app/fight/fight_loop.h"
#include "fight/hit_detection.h"
#include "app/frame_limiter.h"
#include "core/log.h"
#include "core/seams.h"
#include "fighter/computer_difficulty.h"
#include "fighter/lifeform.h"
#include "fighter/path.h"

namespace {

// The walker punches once the boxes are this close (pixels).
constexpr int walker_reach = 10;

// Sets entry 1's keys for this frame: walk at the opponent, punch when close.
void steer_walker(const lifeform& me, const lifeform& them) {
  Uint8* keys = scripted_keys();
  const bool them_left = them.x + them.width / 2 < me.x + me.width / 2;
  const int gap = them_left ? me.x - (them.x + them.width) : them.x - (me.x + me.width);
  const bool close = gap <= walker_reach;
  keys[SDLK_LEFT] = !close && them_left;
  keys[SDLK_RIGHT] = !close && !them_left;
  keys[SDLK_i] = close;
}

void observe(duel_record& r, lifeform& l, uint32_t shown_until_before, uint32_t now) {
  if (l.combo_shown_until != shown_until_before) r.specials_at.push_back(now);
  if (guarding(l)) ++r.guard_frames;
  if (!l.path) return;
  const bool in_reach = l.path->opponent_in_reach();
  if (in_reach && !r.in_reach) {
    r.chance_at = now;
    r.answered = false;
  }
  r.in_reach = in_reach;
  const bool attacked = l.path->primary_trigger != -1 || l.combo_shown_until != shown_until_before;
  if (in_reach && attacked && !r.answered) {
    r.answered = true;
    const long answer = static_cast<long>(now - r.chance_at);
    if (r.quickest_answer_ms < 0 || answer < r.quickest_answer_ms) r.quickest_answer_ms = answer;
  }
}

void report(int entry, const duel_record& r, double seconds) {
  const double per_second = seconds > 0.0 ? r.specials_at.size() / seconds : 0.0;
  log_out("duel: entry [%d] specials [%zu] per second [%.2f] largest burst in 60 ms [%d] shortest gap [%ld] ms "
          "quickest answer [%ld] ms guarding [%ld] frames\n",
          entry, r.specials_at.size(), per_second, largest_burst(r.specials_at, 60), shortest_gap(r.specials_at),
          r.quickest_answer_ms, r.guard_frames);
}

}  // namespace

int largest_burst(const std::vector<uint32_t>& times, uint32_t window_ms) {
  int best = 0;
  size_t first = 0;
  for (size_t last = 0; last < times.size(); ++last) {
    while (times[last] - times[first] >= window_ms) ++first;
    best = std::max(best, static_cast<int>(last - first + 1));
  }
  return best;
}

long shortest_gap(const std::vector<uint32_t>& times) {
  long best = -1;
  for (size_t i = 1; i < times.size(); ++i) {
    const long gap = static_cast<long>(times[i] - times[i - 1]);
    if (best < 0 || gap < best) best = gap;
  }
  return best;
}

void run_ai_duel(const run_options& options) {
  lifeform* computer = lifeform_at(0);
  lifeform* other = lifeform_at(1);
  if (!computer || !other) {
    log_out("duel: no fight\n");
    return;
  }
  if (!options.duel_walker && other->path) other->path->ai.level = options.duel_level;
  limiter().set_enabled(false);

  fight_loop loop;
  duel_record records[2];
  const uint32_t start = game_ticks();
  long frames = 0;
  bool quit = false;
  while (!quit && frames < duel_frame_limit && computer->alive() && other->alive()) {
    if (options.duel_walker) steer_walker(*other, *computer);
    const uint32_t shown_before[2] = {computer->combo_shown_until, other->combo_shown_until};
    quit = loop.run_frame();
    ++frames;
    const uint32_t now = game_ticks();
    observe(records[0], *computer, shown_before[0], now);
    observe(records[1], *other, shown_before[1], now);
  }
  const double seconds = (game_ticks() - start) / 1000.0;
  const int winner = computer->alive() == other->alive() ? -1 : computer->alive() ? 0 : 1;
  char entry1[16];
  std::snprintf(entry1, sizeof entry1, "%d", options.duel_level);
  log_out("duel: level [%d] against [%s] winner [%d] frames [%ld] seconds [%.1f] hp [%d,%d]\n",
          computer_difficulty(), options.duel_walker ? "walker" : entry1, winner, frames, seconds, computer->hp,
          other->hp);
  report(0, records[0], seconds);
  report(1, records[1], seconds);
}

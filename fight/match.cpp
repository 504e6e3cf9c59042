#include "fight/match.h"

#include "core/log.h"

namespace {
match_rules run_rules;
}  // namespace

void set_match_rules(const match_rules& rules) { run_rules = rules; }
const match_rules& current_match_rules() { return run_rules; }

match_state::match_state(const match_rules& r) : rules(r) {
  if (rules.fps < 1) rules.fps = 1;
}

void match_state::enter(match_phase p) {
  phase = p;
  phase_frames = 0;
}

void match_state::start_match() {
  wins[0] = wins[1] = 0;
  match_winner = -1;
  round = 1;
  begin_round();
}

void match_state::begin_round() {
  clock_frames = static_cast<long>(rules.round_time) * rules.fps;
  round_winner = -1;
  by_time = false;
  enter(match_phase::intro);
  log_out("round [%d] begins\n", round);
}

void match_state::end_round(int winner, bool on_time) {
  round_winner = winner;
  by_time = on_time;
  if (winner >= 0) {
    ++wins[winner];
    log_out("round [%d] won by entry [%d]\n", round, winner);
  } else {
    log_out("round [%d] drawn\n", round);
  }
  enter(match_phase::round_over);
}

int match_state::clock_seconds() const { return static_cast<int>((clock_frames + rules.fps - 1) / rules.fps); }

int larger_health_share(const fighter_health h[2]) {
  // hp0 / max0 against hp1 / max1, cross-multiplied so equal shares compare equal.
  long long a = h[0].hp > 0 ? h[0].hp : 0, b = h[1].hp > 0 ? h[1].hp : 0;
  a *= h[1].max_hp > 0 ? h[1].max_hp : 1;
  b *= h[0].max_hp > 0 ? h[0].max_hp : 1;
  return a == b ? -1 : (a > b ? 0 : 1);
}

bool match_state::advance(const fighter_health health[2]) {
  const bool alive[2] = {health[0].hp >= 0, health[1].hp >= 0};
  ++phase_frames;
  switch (phase) {
    case match_phase::intro:
      if (phase_frames >= intro_seconds * rules.fps) enter(match_phase::fighting);
      return false;
    case match_phase::fighting:
      if (!alive[0] || !alive[1]) {
        end_round(alive[0] == alive[1] ? -1 : (alive[0] ? 0 : 1), false);
        return false;
      }
      if (rules.round_time > 0 && --clock_frames <= 0) {
        clock_frames = 0;
        end_round(larger_health_share(health), true);
      }
      return false;
    case match_phase::round_over:
      if (phase_frames < round_over_seconds * rules.fps) return false;
      for (int k = 0; k < 2; ++k) {
        if (wins[k] >= rules.rounds_to_win()) {
          match_winner = k;
          log_out("match won by entry [%d]\n", k);
          enter(match_phase::result);
          return false;
        }
      }
      ++round;
      begin_round();
      return true;
    case match_phase::result:
      return false;
  }
  return false;
}

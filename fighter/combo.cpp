#include "fighter/combo.h"

#include <SDL.h>

#include "core/log.h"
#include "core/seams.h"

const char* combo_move_name(int32_t combotype) {
  switch (combotype) {
    case 1:
      return "High jump";
    case 2:
      return "Special move";
    case 3:
      return "Dash";
    default:
      return "Combo";
  }
}

void combo_recognizer::import(std::vector<combo>* list) {
  log_out("Getting ready to import combos\n");
  combos = list;
  if (!list) return;
  for (combo& c : *list) import_one(c);
}

void combo_recognizer::import_one(combo& c) {
  c.min_total = 0;
  c.max_total = 0;
  log_out("Importing combo\n");
  for (const combo_step& step : c.steps) {
    c.min_total += step.min_time;
    c.max_total += static_cast<uint32_t>(step.max_time);
    log_out("Press: ");
    for (const key_pair& p : step.pairs) {
      watch(p.key, p.state);
      log_out("[%d/%d], ", p.key, p.state);
    }
    log_out(" between [%d]-[%d] to advance\n", step.min_time, step.max_time);
  }
  log_out("Move Complete\n");
  log_out("Combo time[%d-%d] for move [%d]\n", c.min_total, static_cast<int>(c.max_total), c.combotype);
  if (c.max_total > maxkeep) {
    log_out("Update maxkeep from [%d] to [%d]\n", static_cast<int>(maxkeep), static_cast<int>(c.max_total));
    maxkeep = c.max_total;
  }
}

// The first mention of a key sets the state it is assumed to start in.
void combo_recognizer::watch(int32_t key, int32_t state) {
  for (const watched_key& w : watched) {
    if (w.key == key) return;
  }
  watched.push_back(watched_key{key, state});
}

int combo_recognizer::sample(player_actions held) {
  now = game_ticks();
  int changes = 0;
  for (watched_key& w : watched) {
    const int32_t s = (held & action_of_combo_key(w.key)) != 0 ? 1 : 0;
    if (s == w.last_state) continue;
    w.last_state = s;
    key_event e{w.key, now, s};
    if (history.size() >= max_key_history) history.erase(history.begin());
    history.push_back(e);
    ++changes;
    offer(e);
  }
  return changes;
}

void combo_recognizer::add_attempt(const combo_attempt& attempt) {
  if (attempts.size() >= max_combo_attempts) attempts.erase(attempts.begin());
  attempts.push_back(attempt);
}

// A combo starts an attempt when its whole first step equals this one event.
void combo_recognizer::offer(const key_event& e) {
  if (!combos) return;
  for (combo& c : *combos) {
    if (c.steps.empty()) continue;
    const combo_step& first = c.steps[0];
    bool all = true;
    for (const key_pair& p : first.pairs) {
      if (p.key != e.key || p.state != e.state) all = false;
    }
    if (!all) continue;
    add_attempt(combo_attempt{&c, 0, now + static_cast<uint32_t>(first.max_time), static_cast<int32_t>(now), 1, now});
  }
}

int combo_recognizer::poll() {
  // Signed on purpose: early in a run now - maxkeep is "negative" and keeps everything.
  const int32_t oldest = static_cast<int32_t>(now - maxkeep);
  size_t kept = 0;
  for (size_t i = 0; i < history.size(); ++i) {
    if (static_cast<int32_t>(history[i].time) < oldest) continue;
    history[kept++] = history[i];
  }
  history.resize(kept);

  for (size_t i = 0; i < attempts.size();) {
    combo_attempt& a = attempts[i];
    if (a.deadline < now || !a.which) {
      attempts.erase(attempts.begin() + static_cast<long>(i));
      continue;
    }
    const int32_t n = a.which->reqkeys();
    if (a.step_index == n) {
      a.deadline = 0;  // removed by the next poll
      const int32_t type = a.which->combotype;
      if (a.from_keys) drop_rivals(i);
      return type;
    }
    if (a.step_index >= 0 && a.step_index < n) {
      int32_t m = match_step(a.which->steps[a.step_index], a.last_match);
      if (m != 0) {
        a.step_index += 1;
        a.last_match = m;
        if (a.step_index != n) {
          a.deadline = static_cast<uint32_t>(m) + static_cast<uint32_t>(a.which->steps[a.step_index].max_time);
        }
      }
    }
    ++i;
  }
  return -1;
}

// Several attempts of one combo run side by side, one per starting event: a
// key held to block and pressed again to begin the combo starts two, and both
// then advance on the same later keys. Those begun up to the winner's last
// matched key were reading the same entry; they go with its report. Attempts
// begun later belong to the next entry and stay.
void combo_recognizer::drop_rivals(size_t winner) {
  const combo_attempt w = attempts[winner];
  size_t kept = 0;
  for (size_t j = 0; j < attempts.size(); ++j) {
    const combo_attempt& y = attempts[j];
    const bool rival = j != winner && y.from_keys && y.which == w.which &&
                       y.started <= static_cast<uint32_t>(w.last_match);
    if (!rival) attempts[kept++] = y;
  }
  attempts.resize(kept);
}

int32_t combo_recognizer::match_step(const combo_step& step, int32_t base) const {
  const uint32_t lo = static_cast<uint32_t>(base) + static_cast<uint32_t>(step.min_time);
  const uint32_t hi = static_cast<uint32_t>(base) + static_cast<uint32_t>(step.max_time);
  int found = 0;
  int32_t latest = 0;
  for (const key_pair& p : step.pairs) {
    uint32_t when = 0;
    if (!find_pair(p, lo, hi, when)) continue;
    ++found;
    if (static_cast<int32_t>(when) > latest) latest = static_cast<int32_t>(when);
  }
  if (step.pairs.empty() || found != static_cast<int>(step.pairs.size())) return 0;
  return latest;
}

// The "previous state" is that of the event just before e in the whole history,
// whatever its key: a held key is therefore found at its own release event.
bool combo_recognizer::find_pair(const key_pair& pair, uint32_t lo, uint32_t hi, uint32_t& when) const {
  int32_t last = -1;
  int32_t previous = 1;
  for (const key_event& e : history) {
    if (e.key == pair.key) {
      last = e.state;
      if (lo < e.time && e.time < hi && previous == pair.state) {
        when = e.time;
        return true;
      }
    }
    previous = e.state;
  }
  if (last == pair.state && lo < now && now < hi) {
    when = now;
    return true;
  }
  return false;
}

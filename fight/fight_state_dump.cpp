#include "fight/fight_state_dump.h"

#include <cinttypes>
#include <cstdio>

#include "fight/fight_state.h"

namespace {

std::string text_of(int32_t v) { return std::to_string(v); }
std::string text_of(uint32_t v) { return std::to_string(v); }
std::string text_of(int64_t v) { return std::to_string(v); }
std::string text_of(uint64_t v) { return std::to_string(v); }
std::string text_of(double v) {
  char s[40];
  std::snprintf(s, sizeof s, "%.17g", v);
  return s;
}

class lister {
 public:
  lister(const fight_state& state, std::vector<state_field>& out)
      : base_(reinterpret_cast<const char*>(&state)), out_(out) {}
  template <class T>
  void put(const std::string& name, const T& v) {
    out_.push_back(state_field{name, text_of(v), static_cast<size_t>(reinterpret_cast<const char*>(&v) - base_),
                               sizeof v});
  }

 private:
  const char* base_;
  std::vector<state_field>& out_;
};

std::string at(const std::string& p, const char* name, size_t i) {
  return p + name + "[" + std::to_string(i) + "]";
}

#define FIELD(x) L.put(p + #x, s.x)

void list(lister& L, const std::string& p, const play_state& s) {
  FIELD(animation);
  FIELD(x);
  FIELD(y);
  FIELD(index);
  FIELD(countdown);
  FIELD(active);
  FIELD(loop);
}

void list(lister& L, const std::string& p, const memory_state& s) {
  FIELD(level);
  FIELD(in_reach);
  FIELD(has_fired_special);
  FIELD(evading);
  FIELD(opponent_attacking);
  FIELD(guarding_close);
  FIELD(hand_to_hand);
  FIELD(chance_at);
  FIELD(last_special_at);
  FIELD(judged_projectile);
}

void list(lister& L, const std::string& p, const path_state& s) {
  FIELD(vx);
  FIELD(vy);
  FIELD(aim_x);
  FIELD(aim_y);
  FIELD(step_index);
  FIELD(primary_trigger);
  FIELD(secondary_trigger);
  FIELD(x);
  FIELD(y);
  FIELD(age);
  FIELD(facing);
  FIELD(ai_decision);
  FIELD(target);
  FIELD(actions);
  list(L, p + "ai.", s.ai);
}

void list(lister& L, const std::string& p, const attempt_state& s) {
  FIELD(combo);
  FIELD(step_index);
  FIELD(deadline);
  FIELD(last_match);
  FIELD(from_keys);
  FIELD(started);
}

void list(lister& L, const std::string& p, const key_event& s) {
  FIELD(key);
  FIELD(time);
  FIELD(state);
}

void list(lister& L, const std::string& p, const recognizer_state& s) {
  FIELD(now);
  FIELD(history_count);
  FIELD(watched_count);
  FIELD(attempt_count);
  for (size_t i = 0; i < max_key_history; ++i) list(L, at(p, "history", i) + ".", s.history[i]);
  for (size_t i = 0; i < max_watched_keys; ++i) L.put(at(p, "watched_state", i), s.watched_state[i]);
  for (size_t i = 0; i < max_combo_attempts; ++i) list(L, at(p, "attempts", i) + ".", s.attempts[i]);
}

void list(lister& L, const std::string& p, const weapons_state& s) {
  for (int w = 0; w < max_weapons; ++w) {
    for (int k = 0; k < max_streams; ++k) L.put(at(at(p, "reload_counters", w), "", k), s.reload_counters[w][k]);
  }
  for (int w = 0; w < max_weapons; ++w) L.put(at(p, "team", w), s.team[w]);
  for (int w = 0; w < max_weapons; ++w) L.put(at(p, "disabled", w), s.disabled[w]);
}

void list(lister& L, const std::string& p, const body_state& s) {
  FIELD(vx);
  FIELD(vy);
  FIELD(ax);
  FIELD(ay);
  FIELD(speed);
  FIELD(scale);
  FIELD(missing_moves_said);
  FIELD(id);
  FIELD(source_entry);
  FIELD(source_weapon);
  FIELD(source_stream);
  FIELD(hp);
  FIELD(max_hp);
  FIELD(x);
  FIELD(y);
  FIELD(height);
  FIELD(width);
  FIELD(damage);
  FIELD(target);
  FIELD(team);
  FIELD(facing);
  FIELD(state);
  FIELD(edge_death);
  FIELD(kind);
  FIELD(age);
  FIELD(path_step);
  FIELD(action);
  FIELD(gauge_count);
  FIELD(alpha);
  FIELD(combo_shown);
  FIELD(combo_shown_until);
  for (int w = 0; w < max_weapons; ++w) {
    for (int k = 0; k < max_streams; ++k) L.put(at(at(p, "stream_cooldowns", w), "", k), s.stream_cooldowns[w][k]);
  }
  FIELD(play_count);
  for (int i = 0; i < max_state_plays; ++i) list(L, at(p, "plays", i) + ".", s.plays[i]);
  FIELD(has_path);
  L.put(p + "own_move_size[0]", s.own_move_size[0]);
  L.put(p + "own_move_size[1]", s.own_move_size[1]);
  list(L, p + "path.", s.path);
}

void list(lister& L, const std::string& p, const stage_state& s) {
  FIELD(zoom);
  FIELD(scroll_x);
  FIELD(scroll_y);
  FIELD(shake);
  FIELD(flash);
  FIELD(flash_rate);
  FIELD(flash_shown);
  FIELD(fill_uncovered);
}

void list(lister& L, const std::string& p, const match_snapshot& s) {
  FIELD(clock_frames);
  FIELD(phase);
  FIELD(round);
  L.put(p + "wins[0]", s.wins[0]);
  L.put(p + "wins[1]", s.wins[1]);
  FIELD(phase_frames);
  FIELD(round_winner);
  FIELD(by_time);
  FIELD(match_winner);
  FIELD(match_drawn);
  L.put(p + "laid_down[0]", s.laid_down[0]);
  L.put(p + "laid_down[1]", s.laid_down[1]);
}

void list(lister& L, const std::string& p, const fight_state& s) {
  FIELD(frame);
  FIELD(random);
  FIELD(clock_ms);
  FIELD(next_lifeform_id);
  FIELD(has_stage);
  FIELD(has_match);
  FIELD(fighter_count);
  FIELD(projectile_count);
  for (int k = 0; k < 2; ++k) list(L, at(p, "fighters", k) + ".", s.fighters[k]);
  for (int k = 0; k < 2; ++k) list(L, at(p, "recognizers", k) + ".", s.recognizers[k]);
  for (int k = 0; k < 2; ++k) list(L, at(p, "weapons", k) + ".", s.weapons[k]);
  for (int k = 0; k < 2; ++k) {
    for (int m = 0; m < max_char_moves; ++m) {
      L.put(at(at(at(p, "move_sizes", k), "", m), "", 0), s.move_sizes[k][m][0]);
      L.put(at(at(at(p, "move_sizes", k), "", m), "", 1), s.move_sizes[k][m][1]);
    }
  }
  for (int i = 0; i < max_state_projectiles; ++i) list(L, at(p, "projectiles", i) + ".", s.projectiles[i]);
  list(L, p + "stage.", s.stage);
  list(L, p + "match.", s.match);
}

#undef FIELD

}  // namespace

std::vector<state_field> fight_state_fields(const fight_state& state) {
  std::vector<state_field> out;
  lister L(state, out);
  list(L, "", state);
  return out;
}

std::string fight_state_dump(const fight_state& mine, const fight_state* theirs) {
  const std::vector<state_field> a = fight_state_fields(mine);
  if (!theirs) {
    std::string out;
    for (const state_field& f : a) {
      if (f.value != "0") out += "  " + f.name + ": " + f.value + "\n";
    }
    return out;
  }
  const std::vector<state_field> b = fight_state_fields(*theirs);
  std::string differing, same;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (a[i].value != b[i].value) {
      differing += "* " + a[i].name + ": " + a[i].value + " | " + b[i].value + "\n";
    } else if (a[i].value != "0") {
      same += "  " + a[i].name + ": " + a[i].value + " | " + b[i].value + "\n";
    }
  }
  return differing + same;
}

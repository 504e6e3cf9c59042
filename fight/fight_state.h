// The fight as a value. The game runs on its live objects (lifeform_list,
// g_level, a match_state); save_fight_state copies everything a fight frame
// changes out of them into one fixed-size `fight_state`, and
// restore_fight_state writes such a value back, so a fight can be put back to
// an earlier frame (rollback, training resets, seeking) and stepped on
// (fight/fight_step.h). Animations, moves and combos are referred to by
// indices into the loaded content (`fight_content`).
//
//   fight_content content;                // once the fighters are placed
//   fight_state s;
//   save_fight_state(s, content, &match);  // false: something didn't fit
//   ... step ...
//   restore_fight_state(s, content, &match);
//
// A run that restores must draw its random numbers from the recordable
// generator (use_recordable_random) and read its clock from the fight clock
// (use_fight_clock): rand() and SDL's clock can't be put back.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

#include "fighter/combo.h"
#include "fighter/lifeform.h"

class animation;
class match_state;

constexpr int max_state_projectiles = 32;  // projectiles in flight at once
constexpr int max_state_plays = 8;         // animations of one move playing together
constexpr int max_watched_keys = 16;       // keys one fighter's combos mention

// One anim_play; `animation` indexes fight_content::animations, -1 none.
struct play_state {
  int32_t animation;
  int32_t x, y;
  uint32_t index;
  int32_t countdown, active, loop;
};

// The computer opponent's memory (computer_memory), flags as 0 or 1.
struct memory_state {
  int32_t level, in_reach, has_fired_special, evading, opponent_attacking, guarding_close, hand_to_hand;
  uint32_t chance_at, last_special_at;
  int32_t judged_projectile;  // a lifeform id
};

struct path_state {
  double vx, vy, aim_x, aim_y;
  int32_t step_index, primary_trigger, secondary_trigger;
  int32_t x, y, age, facing, ai_decision, target;
  uint32_t actions;
  memory_state ai;
};

struct attempt_state {
  int32_t combo;  // index into the recogniser's combo list, -1 none
  int32_t step_index;
  uint32_t deadline;
  int32_t last_match, from_keys;
  uint32_t started;
};

// A fighter's combo recogniser; history and attempts are bounded by the
// recogniser itself (max_key_history, max_combo_attempts).
struct recognizer_state {
  uint32_t now;
  int32_t history_count, watched_count, attempt_count;
  key_event history[max_key_history];
  int32_t watched_state[max_watched_keys];
  attempt_state attempts[max_combo_attempts];
};

// A fighter's weapons: the reload counters and the team set before a shot.
struct weapons_state {
  int32_t reload_counters[max_weapons][max_streams];
  int32_t team[max_weapons];
  int32_t disabled[max_weapons];
};

// One lifeform: a fighter, or a projectile slot.
struct body_state {
  double vx, vy, ax, ay, speed, scale;
  uint64_t missing_moves_said;  // bit n: "no move [n]" already said
  int32_t id, source_entry, source_weapon, source_stream;
  int32_t hp, max_hp, x, y, height, width, damage, target, team, facing, state, edge_death, kind, age, path_step,
      action, gauge_count, alpha, combo_shown;
  uint32_t combo_shown_until;
  int32_t stream_cooldowns[max_weapons][max_streams];
  int32_t play_count;
  play_state plays[max_state_plays];
  int32_t has_path;
  int32_t own_move_size[2];  // a projectile's move (moves[0]): max_width, max_height
  path_state path;
};

struct stage_state {
  double zoom;
  int32_t scroll_x, scroll_y, shake, flash, flash_rate, flash_shown, fill_uncovered;
};

struct match_snapshot {
  int64_t clock_frames;
  int32_t phase, round, wins[2], phase_frames, round_winner, by_time, match_winner, match_drawn, laid_down[2];
};

struct fight_state {
  int64_t frame;          // frames stepped (the fight clock's count)
  uint64_t random;        // the recordable generator's state
  uint32_t clock_ms;      // the fight clock's reading (fight/fight_clock.h)
  int32_t next_lifeform_id;
  int32_t has_stage, has_match;
  int32_t fighter_count;  // entries 0 and 1 present (0..2)
  int32_t projectile_count;
  body_state fighters[2];
  recognizer_state recognizers[2];
  weapons_state weapons[2];
  // Each fighter's moves' sizes by slot (max_width, max_height): a move
  // learns its size the first time it starts, and hit tests read it.
  int32_t move_sizes[2][max_char_moves][2];
  body_state projectiles[max_state_projectiles];  // lifeform_list from entry 2 on, in order
  stage_state stage;
  match_snapshot match;
};

static_assert(std::is_trivially_copyable<fight_state>::value, "a fight state copies as bytes");
static_assert(sizeof(fight_state) < 48 * 1024, "a fight state stays small");

// What the indices of a fight_state point into: the fighters at entries 0 and
// 1 when it was made, their moves' animations, and spare projectile objects a
// restore reuses. Make it once the fighters are placed; it must go before
// they do (its spares play their animations).
class fight_content {
 public:
  fight_content();
  ~fight_content();
  fight_content(const fight_content&) = delete;
  fight_content& operator=(const fight_content&) = delete;

  // Index of `a` in animations, -1 when no fighter's move plays it.
  int animation_id(const animation* a) const;

  std::vector<animation*> animations;  // every animation of the fighters' moves, first seen first
  lifeform* fighters[2] = {nullptr, nullptr};
  std::vector<std::unique_ptr<lifeform>> spares;  // projectiles a restore took out of the list
};

// Captures the live fight into `out` (every byte written: padding zeroed, so
// equal fights give equal bytes). False when it doesn't fit the value: more
// than max_state_projectiles projectiles, a move of more than max_state_plays
// animations, an animation or projectile the content can't rebuild. `match`
// may be null (no match rules).
bool save_fight_state(fight_state& out, const fight_content& content, const match_state* match);

// Puts the live fight back as `in` was saved: fighters, projectiles (reused
// or rebuilt silently, no log line), stage, match, random state and fight
// clock. `match` must be null exactly when it was at the save.
void restore_fight_state(const fight_state& in, fight_content& content, match_state* match);

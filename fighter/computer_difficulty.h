// How well the computer opponent plays. Level 0 (the default) is the opponent
// as it always was; levels 1 to 5 shape how it acts (how fast it reacts, how
// often it fires specials, whether it guards), never its fighter's strength.
#pragma once
#include <cstdint>

constexpr int lowest_difficulty = 1;
constexpr int highest_difficulty = 5;

// The level every computer-steered path plays at unless it has its own.
// Values outside 0..5 are clamped into it.
void set_computer_difficulty(int level);
int computer_difficulty();

struct difficulty_profile {
  uint32_t reaction_ms;   // from a chance (the opponent coming within reach) to the first attack
  uint32_t special_gap_ms;  // least time between two specials
  int block_percent;      // share of block decisions kept; the rest stand still
  int dodge_percent;      // share of incoming projectiles it guards against or jumps
  bool guards_projectiles;  // false: it can only jump them
  int close_guard_percent;  // share of the opponent's close attacks it guards against (and then answers)
};

// The profile of a set level (1..5; others are clamped).
difficulty_profile profile_for(int level);

// What the opponent remembers between frames at a set level. Level 0 reads none of it.
// lifeform::id of no lifeform.
constexpr int32_t no_lifeform_id = -1;

struct computer_memory {
  int32_t level = -1;            // this path's own level; -1 follows computer_difficulty()
  bool in_reach = false;         // the opponent was within attack range last frame
  uint32_t chance_at = 0;        // tick (ms) when it came within range
  bool has_fired_special = false;
  uint32_t last_special_at = 0;  // tick (ms) of the last special
  int32_t judged_projectile = no_lifeform_id;  // id of the incoming projectile last rolled for
  bool evading = false;          // the verdict for it: guard or jump while it comes
  bool opponent_attacking = false;  // the opponent was attacking at close quarters last frame
  bool guarding_close = false;   // the verdict for that attack
  bool hand_to_hand = false;     // its special launches nothing: it closes in and strikes
};

// Mode 6 of a path: the computer opponent. It presses the same "buttons" a
// human does (velocity, attack request) or hands its recogniser a finished combo.
#include <cstdlib>

#include "core/log.h"
#include "core/seams.h"
#include "fighter/lifeform.h"
#include "fighter/path.h"
#include "stage/level.h"

namespace {

// Weight names by index in ai_weights.
constexpr int block_weight = 0;
constexpr int attack_range = 2;
constexpr int jump_weight = 3;
constexpr int duck_weight = 4;
constexpr int approach_weight = 5;

// A weight sum of 0 or less would divide by zero; one roll of 0 is then used.
int roll_below(int total) { return total > 0 ? game_rand() % total : 0; }

}  // namespace

void path::run_computer_opponent() {
  const int w0 = ai_weights[block_weight];
  const int w3 = ai_weights[jump_weight];
  const int w4 = ai_weights[duck_weight];
  const int w5 = ai_weights[approach_weight];

  if (game_rand() % 100 > 95) {
    log_out("AI Changing mind\n");
    ai_decision = -1;
  }
  if (ai_decision == 2) ai_decision = -2;

  if (ai_decision == -2) {
    const int total = w5 + w0 + 100;
    const int roll = roll_below(total);
    const int a = w0;
    const int b = w0 + w5;
    int result = -2;
    if (roll <= a) {
      result = 0;
    } else if (roll <= b) {
      result = 1;
    }
    ai_decision = result;
    log_out("Jump AI Selects [%d/%d] [%d-%d]=[%d]\n", roll, total, a, b, result);
  }

  if (ai_decision == -1) {
    const int max = w5 + 2 * w0 + 100 + w4 + w3;
    const int roll = roll_below(max);
    log_out("max[%d] smode[%d]\n", max, roll);
    const int a = w0;
    const int t1 = w0 + w5;
    const int t2 = t1 + w3;
    const int t3 = t2 + w4;
    const int t4 = t3 + 100;
    int decision = 5;
    if (roll <= a) {
      decision = 0;
    } else if (roll <= t1) {
      decision = 1;
    } else if (roll <= t2) {
      decision = 2;
    } else if (roll <= t3) {
      decision = 3;
    } else if (roll <= t4) {
      decision = 4;
    }
    ai_decision = decision;
    log_out("AI Selects [%d/%d] [%d-%d-%d-%d-%d]=[%d]\n", roll, max, a, t1, t2, t3, t4, decision);
  }

  const double d = facing == 1 ? 1.0 : -1.0;
  switch (ai_decision) {
    case 0:  // blocking: step away from the opponent
      vx = -d;
      break;
    case 1: {
      // An opponent index outside the list is never read: keep approaching.
      bool in_range = false;
      if (target >= 0 && static_cast<size_t>(target) < lifeform_list.size() && lifeform_list[target]) {
        const int distance = std::abs(lifeform_list[target]->x - x);
        const int level_width = g_level ? g_level->max_width : 0;
        in_range = distance < ai_weights[attack_range] * level_width / 100;
      }
      if (in_range) {
        primary_trigger = (game_rand() % 4) % 2 == 0 ? 0 : 3;
        aim_x = 0.0;
        aim_y = -1.0;
      } else {
        vx = d;
      }
      break;
    }
    case 2:
      vy = -1.0;
      break;
    case 3:
      vy = 1.0;
      break;
    case 4:
      if (recognizer.combos && !recognizer.combos->empty()) {
        const int i = game_rand() % static_cast<int>(recognizer.combos->size());
        combo& picked = (*recognizer.combos)[i];
        recognizer.add_attempt(combo_attempt{&picked, picked.reqkeys(), game_ticks() + 1, 0});
      }
      ai_decision = -1;
      break;
    default:  // nothing
      primary_trigger = -1;
      vx = 0.0;
      vy = 0.0;
      break;
  }
}

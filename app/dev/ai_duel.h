// The opponent benchmark (--duel): one fight between the computer's fighter
// (entry 0, at the game's difficulty) and entry 1, steered by the computer at
// another level or by a scripted player who only walks in and punches. The
// fight is one round: it ends at the first fall (a knock-out), when the
// match's round clock runs out, or after duel_frame_limit frames (both by
// time: the larger share of health wins). It prints "duel:" lines: the winner
// and how, and for each fighter its blows landed, its specials per second,
// the largest burst of specials within 60 ms, the shortest gap between two,
// its quickest answer to a chance and how long it guarded.
#pragma once
#include <cstdint>
#include <vector>

#include "app/run_options.h"

constexpr long duel_frame_limit = 5400;  // 90 s at 60 frames a second

// What one fighter did in a duel, gathered frame by frame.
struct duel_record {
  long blows_landed = 0;              // frames in which the opponent lost health
  std::vector<uint32_t> specials_at;  // ticks (ms) of each special performed
  long guard_frames = 0;              // frames shown guarding
  long quickest_answer_ms = -1;       // from a chance to its first attack; -1 none
  bool in_reach = false;              // the opponent was within attack range last frame
  uint32_t chance_at = 0;
  bool answered = false;              // it attacked since the chance began
};

// Largest number of `times` (ascending ms) within any window of `window_ms`.
int largest_burst(const std::vector<uint32_t>& times, uint32_t window_ms);
// Shortest gap between two consecutive `times`; -1 with fewer than two.
long shortest_gap(const std::vector<uint32_t>& times);

// Runs the duel in place of the fight loop.
void run_ai_duel(const run_options& options);

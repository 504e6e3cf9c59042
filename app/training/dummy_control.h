// What steers the training dummy (lifeform_list entry 0): a behaviour the
// player picks, turned into the actions a second player would hold, or the
// computer opponent at a level, or a recording of the dummy played back.
#pragma once
#include <cstddef>
#include <vector>

#include "fighter/player_actions.h"

enum class dummy_behaviour {
  stand,
  crouch,
  jump,
  block_all,
  block_after_hit,  // takes the first blow of a combo, guards until it is over
  computer,         // the computer opponent at `computer_level`
  playback,         // the recording, looped
};

// "Stand", "Crouch", ..., "Computer level 3", "Playback".
const char* dummy_behaviour_name(dummy_behaviour b, int computer_level);

class dummy_control {
 public:
  dummy_behaviour behaviour = dummy_behaviour::stand;
  int computer_level = 1;  // 1..5
  // Set between the first blow that lands and the end of the combo.
  bool struck = false;

  // The recording: player 1's actions, a frame each, steering the dummy.
  std::vector<player_actions> recorded;
  bool recording = false;
  size_t record_limit = 600;  // frames; the session sets ten seconds' worth
  size_t playing_at = 0;

  // The next choice in the menu's order, wrapping, the computer's levels in
  // turn; playback only once something is recorded. `step` is +1 or -1.
  void cycle(int step);

  // Starts a recording afresh; the dummy follows player 1 until it is full.
  void start_recording();
  // Plays the recording from its start; false (nothing changed) without one.
  bool start_playback();

  // This frame's actions for the dummy, facing `facing` (1 right): guarding is
  // holding away from the player it faces. `player_one` is what player 1
  // holds: while recording it steers the dummy and is kept. Not for the
  // computer behaviour, which steers itself.
  player_actions actions(int facing, player_actions player_one);
};

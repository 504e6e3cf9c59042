// The live fight as the rollback engine sees it: save, restore, step and hash
// over the fight's objects. The frame it is asked to step at the present is
// drawn; every earlier one is a re-simulation, not drawn. It also notes the
// first frame whose step decided the match.
//
// What a frame tells the player besides its picture follows the confirmed
// story: its sounds go through a ledger (net/rollback_events), so a frame
// stepped again does not start them twice and a sound the correction took
// away is stopped; its log lines are kept with the frame, replaced when the
// frame is stepped again, and printed once it is confirmed.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "fight/fight_state.h"
#include "fight/fight_step.h"
#include "net/rollback.h"
#include "net/rollback_events.h"

class match_driver;

// Draws the present frame where the step shows its parts, as the offline
// fight loop does; the match's menus stay shut (neither side may pause the other).
class present_frame_drawing final : public step_observer {
 public:
  explicit present_frame_drawing(match_driver& match) : match_(match) {}
  void stage_ready() override;
  void hits_resolved() override;
  void world_frozen() override;
  void objects_begin() override;
  void lifeform_shown(const lifeform& l) override;
  void lifeform_done(const lifeform& l, int k) override;

 private:
  match_driver& match_;
};

// Where the ledger starts and stops a frame's sounds: `next` is the sound the
// next start_effect call is about (set around each emit).
class step_sound_sink : public effect_sink {
 public:
  const sound_event* next = nullptr;
};

class online_fight_game final : public rollback_game {
 public:
  online_fight_game(fight_content& content, match_driver& match, step_sound_sink& sounds);

  int64_t present_frame = -1;  // the frame to draw when it is stepped
  int decided_frame = -1;      // the first frame after whose step the match was decided, -1 none yet
  uint64_t decided_hash = 0;   // the state's hash just after that frame
  int winner = -1;
  // Test only: the frame whose step this side spoils (moves entry 0 a pixel), -1 none.
  int64_t spoil_frame = -1;

  void save_state(int slot) override;
  void load_state(int slot) override;
  void step(const player_actions inputs[2]) override;
  uint64_t state_hash() override;

  // For rollback_engine::set_events.
  rollback_events& sound_ledger() { return ledger_; }
  // Steps a frame that is final at once (a replay's): its sounds start, its
  // lines are printed.
  void step_confirmed(const player_actions inputs[2]);
  // Prints the kept log lines of every frame up to `frame` (the confirmed
  // one), in frame order, and forgets them; never those of frames after the
  // one that decided the match, so both sides print the same lines.
  void print_confirmed_lines(int frame);
  // The state a hash was taken of, at the start of `frame` (a multiple of
  // rollback_hash_interval), as last computed; null when no longer kept.
  const fight_state* hashed_state(int frame) const;

 private:
  void report_sounds();

  fight_content& content_;
  match_driver& match_;
  present_frame_drawing drawing_;
  step_sound_sink& sounds_;
  rollback_events ledger_;
  step_events events_;
  std::vector<fight_state> slots_;
  fight_state scratch_;
  std::map<int64_t, std::string> lines_, error_lines_;  // by frame, not yet printed
  std::map<int64_t, fight_state> hashed_;               // the last few hashed states by frame
};

// A sound's key for the ledger: the sample, who started it and on which channel.
uint32_t sound_key(const sound_event& e);

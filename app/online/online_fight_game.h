// The live fight as the rollback engine sees it: save, restore, step and hash
// over the fight's objects. The frame it is asked to step at the present is
// drawn; every earlier one is a quiet re-simulation. It also notes the first
// frame whose step decided the match.
#pragma once
#include <cstdint>
#include <vector>

#include "fight/fight_state.h"
#include "fight/fight_step.h"
#include "net/rollback.h"

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

class online_fight_game final : public rollback_game {
 public:
  online_fight_game(fight_content& content, match_driver& match);

  int64_t present_frame = -1;  // the frame to draw when it is stepped
  int decided_frame = -1;      // the first frame after whose step the match was decided, -1 none yet
  uint64_t decided_hash = 0;   // the state's hash just after that frame
  int winner = -1;

  void save_state(int slot) override;
  void load_state(int slot) override;
  void step(const player_actions inputs[2]) override;
  uint64_t state_hash() override;

 private:
  fight_content& content_;
  match_driver& match_;
  present_frame_drawing drawing_;
  std::vector<fight_state> slots_;
  fight_state scratch_;
};

// Frame data of a fighter's attacks, measured by playing each move out on two
// freshly loaded fighters with the fight's own rules (hit resolution, the
// per-object step, the animation ticks), never on the live fight's fighters.
//
// Frame 1 is the frame whose step starts the move. Figures, in frames:
//   start-up  the number of the first frame whose hit resolution finds the blow
//             touching (the attacker in its attacking posture over the
//             opponent's box, or its projectile over it);
//   active    how many frames the blow touches;
//   recovery  frames after the last touching one before the attacker could
//             start another attack;
//   on hit / on block  the frame the opponent could first attack again, minus
//             the frame the attacker could: positive, the attacker acts first.
#pragma once
#include <string>
#include <vector>

class control_map;

struct move_frame_data {
  int slot = 0;
  bool touches = false;  // false: the blow never touched the opponent in reach
  bool ends = true;      // false: the move loops, never ending within the measure
  int startup = 0, active = 0, recovery = 0;
  bool hit_known = false, block_known = false;  // false: no hit (or block) came of it
  int on_hit = 0, on_block = 0;
};

// The attacks a player can start and the fight rules can play on the floor:
// punch, kick, the two extra attacks, the crouching punch and kick, the
// special move and the dash.
const std::vector<int>& measured_attack_slots();
// What a player calls the move in `slot` ("Punch", "Crouch kick", ...).
const char* attack_slot_name(int slot);

// Loads `attacker_file` and `defender_file` (character files, data names)
// with `controls`, and measures every slot of measured_attack_slots the
// attacker has, against the defender standing in reach. Leaves lifeform_list
// and everything else of a running fight as it found it; the level (its size
// places the pair) and a screen (its bottom is the floor) must be there.
std::vector<move_frame_data> measure_frame_data(const char* attacker_file, const char* defender_file,
                                                control_map* controls);

// "start-up 2  active 11  recovery 0  hit +6  block -11"; "never touches".
std::string frame_data_text(const move_frame_data& d);

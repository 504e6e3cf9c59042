// Every moving object of a fight: the two fighters and every projectile. A
// character file turns an empty lifeform into a fighter (lifeform_load.cpp);
// the fight steers, moves, collides and draws them all alike.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "anim/animation.h"
#include "fighter/combo.h"
#include "fighter/weapon.h"
#include "gfx/image_cache.h"

class path;
class control_map;

// Sane bounds on the counts a character file may ask for; larger (or negative)
// values are refused with an ERROR line naming the file and the key.
constexpr int max_char_moves = 64;
constexpr int max_char_images = 64;
constexpr int max_char_combos = 32;
constexpr int max_combo_steps = 32;
// Factors and sizes outside these are refused the same way, keeping the default.
constexpr double max_char_scale = 100.0;   // "scale", "move%dscale": above 0 up to this
constexpr double max_char_speed = 1000.0;  // "speed": 0 (frozen) up to this
constexpr int max_char_size = 16384;       // "width", "height" overrides: 0 up to this

// Move slots the fight and the projectile spawn use.
constexpr int move_slot_count = 16;
constexpr int projectile_move_slot = 13;

// lifeform::state, the posture: which of the posture images is shown.
enum posture {
  posture_standing = 0,
  posture_airborne = 1,
  posture_crouching = 2,
  posture_blocking = 3,
  posture_attacking = 4,
  posture_hit = 5,
  posture_block_air = 6,
  posture_block_struck = 7,
  posture_block_slide = 8,
};

// Slots of lifeform::moves the fight asks for ("move%d" of the character file).
enum fight_move_slot {
  slot_punch = 0,
  slot_hit = 1,
  slot_kick = 3,
  slot_hit_crouching = 6,
  slot_hit_airborne = 7,
  slot_crouch_punch = 8,
  slot_crouch_kick = 9,
  slot_air_punch = 10,
  slot_air_kick = 11,
  slot_combo_special = 12,
  slot_dash = 15,
};

// lifeform::action, the special animation playing.
enum special_action {
  action_none = -1,
  action_attack = 0,
  action_hit = 1,
  action_combo_special = 2,
  action_dash_right = 3,
  action_dash_left = 4,
};

// lifeform::kind.
enum lifeform_kind {
  kind_fighter = 0,
  kind_projectile = 3,
};

class lifeform {
 public:
  std::vector<img_mgr*> images;   // one per posture state, from "image%d"; owned only when in owned_images
  img_mgr* knocked_out_image = nullptr;  // lying, from "knocked_out"; none: the hit posture. Owned as images are
  int32_t hp = 1;                 // alive while hp >= 0
  int32_t max_hp = 1;
  int32_t x = 0, y = 0;           // world position of the top-left corner, pixels
  int32_t height = 0, width = 0;  // box for drawing tests and collisions, pixels
  double vx = 0.0, vy = 0.0;      // velocity of the current frame
  double ax = 0.0, ay = 0.0;      // added to vx, vy every movement step (jump, drive)
  double speed = 1.0;             // movement divisor; 0 freezes the lifeform
  int32_t damage = 0;             // taken from the other when a projectile hits
  int32_t target = 0;             // opponent's index in lifeform_list
  int32_t team = 0;               // 0 or 1
  int32_t facing = 0;             // 1 right, 0 left
  std::vector<weapon> weapons;    // at most max_weapons are fired
  std::vector<colour_swap> colour_swaps;  // applied to every image this lifeform loads
  // When set, the swaps recolour this lifeform's own copies only, so a fighter
  // loaded later from the same files keeps their colours (a re-pick, a second
  // player). Off, the first loader's swaps stay in the cached pictures.
  bool costume_on_copies = false;
  int32_t state = posture_standing;  // posture 0..8 (enum posture)
  int32_t edge_death = 1;         // 1: leaving the play area kills; 0: held inside
  int32_t kind = kind_fighter;    // enum lifeform_kind
  ::path* path = nullptr;         // not owned: the fight set-up's path, a source's (copies) or own_path
  int32_t age = 0;                // advances without a special animation so far
  int32_t path_step = 0;          // position in the path's step table
  // Slot n from "move%d" (enum fight_move_slot); entries may be null (bullets)
  // and one move may fill several slots. Not owned: see owned_moves.
  std::vector<move*> moves;
  std::unique_ptr<::anim_stack> anim_stack;  // the special animation playing; empty when none, never null
  int32_t action = action_none;   // enum special_action
  int32_t stream_cooldowns[max_weapons][max_streams] = {};  // saved reload counters
  int32_t gauge_count = 0;        // above 0: the gauge shows over the posture image
  double scale = 1.0;             // drawing scale
  std::shared_ptr<std::vector<combo>> combos;  // shared with the copies of this lifeform
  int32_t ai_weights[6] = {0, 0, 0, 0, 0, 0};
  control_map* controls = nullptr;  // not owned; set before load
  int32_t alpha = 255;            // opacity of special-animation drawing

  // Shown by the fight: the fighter's name by its gauge (the character file's
  // `name`, else from its file name, "brela_char.ini" -> "Brela"), and the last combo's
  // "Combo[%d]" above it until the tick count reaches combo_shown_until (ms).
  std::string name;

  // Who this lifeform is while it lives: a number no other lifeform of the run
  // had (the computer opponent remembers a shot by it; addresses get reused).
  int32_t id = 0;
  // What fired a projectile, so one can be rebuilt from its fighter: the
  // shooter's entry in lifeform_list, and for a weapon's shot the weapon and
  // stream (-1 for a bullet of move slot 13). -1 everywhere for the rest.
  int32_t source_entry = -1;
  int32_t source_weapon = -1;
  int32_t source_stream = -1;
  int32_t combo_shown = -1;       // combotype on show, -1 none
  uint32_t combo_shown_until = 0;

  // What this lifeform alone holds, freed with it (so removing a dead
  // projectile from lifeform_list frees all of it).
  std::unique_ptr<::path> own_path;         // the path made for it (a bullet's); path points at it
  std::vector<private_image> owned_images;  // picture copies fetched for it
  // The animations its character file loaded. Its moves, and the moves of
  // its copies (bullets), hold counted handles on them: the copies must go
  // first (a fighter replaced at the select screen goes after its bullets).
  std::vector<std::unique_ptr<animation>> owned_animations;
  std::vector<std::unique_ptr<move>> owned_moves;  // the moves in `moves` it made (loaded, copied); go first
  std::vector<int32_t> missing_move_said;  // slots already reported missing

  lifeform();
  // The weapon projectile copy: prints "Copy cstr lifeform [%x]to[%x]".
  lifeform(const lifeform& src);
  // Prints "Assigning lifeform [%x]to[%x]".
  lifeform& operator=(const lifeform& src);
  ~lifeform();

  bool alive() const { return hp >= 0; }

  // Reads a character file and fills the fighter (lifeform_load.cpp). Set
  // `controls` (and `colour_swaps`) first.
  void load(const char* char_path);

  // The per-frame step: copy into the path, update it, copy back, fire
  // weapons (their shots' sounds go to `effects`).
  void steer(frame_effect_sink& effects);
  // Shows the lifeform as it stands: the special animation's frames (up to
  // the first one this frame's advance ends), or the posture image with the
  // gauge over it while gauge_count > 0. Changes nothing of the fight, so it
  // may run any number of times between two advances.
  void draw() const;
  // The frame's tick that follows the draw: the special animation moves on one
  // tick (handing the effects of the frames it leaves to `effects`, firing
  // the bullet of a firing frame, ending when done), or, without one, the
  // reload counters run down and age counts up.
  void advance(frame_effect_sink& effects);
  // Health gauge at screen (x, y) when `pending` > 0.
  void draw_health_gauge(int gx, int gy, int pending) const;
  // Where draw shows the posture image under the level's current camera, in
  // screen pixels (the fighter's box scaled by zoom x scale).
  struct screen_box {
    int x, y, w, h;
  };
  screen_box on_screen() const;

  // The move in `slot`, or null; says so once per slot when it is missing.
  move* move_at(int slot);
  // Starts a special animation from move `slot` (size from the move); false
  // when the lifeform has no such move.
  bool start_move(int slot, int32_t new_action);
  // Ends any special animation (an empty stack).
  void clear_anim_stack();
  // Keeps `m` with this lifeform and returns it, to be put in `moves`.
  move* adopt_move(std::unique_ptr<move> m);
  // Keeps `p` with this lifeform and steers by it.
  void give_path(std::unique_ptr<::path> p);
  // Appends a fetched picture to images, keeping it when it is a copy of ours.
  // False (and nothing added) when the fetch got nothing.
  bool add_image(fetched<img_mgr> picture);
  // Size of the first image, or 0 x 0 without images.
  void size_from_first_image();
};

// A fighter's name from its character file's name: the file name without its
// directory and "_char.ini" (or extension), first letter in capitals:
// "game\\fighter\\brela_char.ini" -> "Brela".
std::string fighter_name_from_file(const char* char_path);
// A fighter's name as the `name` key gives it: as written, an underscore
// shown as a space ("Lady_Nova" -> "Lady Nova"); "" for an empty value.
std::string fighter_name_from_key(const char* value);
// The longest name shown; a longer one is cut.
constexpr size_t max_fighter_name = 24;

// The fight's lifeforms in creation order: 0 the computer's fighter, 1 the
// human's, projectiles after them. Filled by the fight set-up and the spawns.
// The fighters belong to the set-up; every entry after them belongs to the
// list (added by enlist_projectile, freed by remove_dead_projectiles).
extern std::vector<lifeform*> lifeform_list;

// The id the next lifeform made gets; ids count up from 1.
extern int32_t next_lifeform_id;

// Appends a projectile to lifeform_list, which keeps it; returns it.
lifeform* enlist_projectile(std::unique_ptr<lifeform> projectile);

// The lifeform at `index`, or null when the index is outside the list.
lifeform* lifeform_at(int index);

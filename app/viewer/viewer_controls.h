// The fighter viewer's keys and what they change: which posture or move slot
// is shown, playing or paused, mirrored, zoomed, the costume, the sound.
#pragma once
#include <SDL.h>

#include <string>
#include <vector>

#include "app/screens/button_presses.h"
#include "fighter/lifeform.h"

class animation;

// The items the viewer steps through: the nine postures, the picture a
// knocked-out fighter lies in, then the move slots.
constexpr int viewer_posture_count = 9;
constexpr int viewer_knocked_out_item = viewer_posture_count;
constexpr int viewer_first_move_item = viewer_knocked_out_item + 1;
constexpr int viewer_item_count = viewer_first_move_item + move_slot_count;

// Zoom steps of 1.25 times around the zoom a fight starts with.
constexpr int viewer_min_zoom_step = -4;
constexpr int viewer_max_zoom_step = 8;

struct viewer_view {
  int item = 0;            // 0..8 a posture, 9 knocked out, then move slot item - 10
  bool paused = false;     // the animation stays on its frame; Left/Right step it
  int facing = 0;          // 0 as painted (facing left), 1 mirrored (facing right)
  int zoom_step = 0;       // zoom = fight's start zoom x 1.25^zoom_step
  bool costume = false;    // the player's recoloured fighter instead of the computer's
  bool sound = true;       // frame sounds audible

  bool is_move() const { return item >= viewer_first_move_item; }
  bool is_knocked_out() const { return item == viewer_knocked_out_item; }
  int slot() const { return item - viewer_first_move_item; }  // move slot; meaningful when is_move()
  double zoom_factor() const;
};

enum class viewer_command {
  next_item,
  previous_item,
  pause,
  next_frame,
  previous_frame,
  mirror,
  zoom_in,
  zoom_out,
  costume,
  sound,
  reload,
  quit,
};

// Applies the commands that only change the view (item, pause, mirror, zoom,
// costume, sound); the others are the caller's. Items wrap around, the zoom
// stops at its ends, stepping a frame pauses.
void apply_view_command(viewer_view& view, viewer_command command);

// Turns key states into commands, once a frame. Stepping keys (items, frames,
// zoom) repeat while held; toggles act once per press.
class viewer_keys {
 public:
  // `keys` the keyboard array (key_state()), `press_events` the SDL key-down
  // events taken off the queue this frame (indexed by key, may be null), `now`
  // the game's tick count in ms.
  std::vector<viewer_command> read(const Uint8* keys, const int* press_events, Uint32 now);

 private:
  struct binding {
    int key;
    viewer_command command;
    bool repeats;
  };
  static const binding bindings[];
  static const int binding_count;
  button_presses buttons_[32];
};

// The two help lines shown at the bottom of the screen.
extern const char* const viewer_help_lines[2];

// Posture and move slot names as the fight uses them ("crouching", "special").
const char* viewer_posture_name(int posture);
const char* viewer_slot_name(int slot);

// What the line of text says about frame `index` of an animation read from
// `file`: "game\fighter\brela\special.ini  frame 3/6  rate 1  fire shake 8 flash 160/16 sound"
// (frames counted from 1; "loop" first when the animation loops).
std::string describe_animation_frame(const std::string& file, const animation& anim, unsigned index);

// Animations read from animation files, and the playback records of a move:
// which frame each animation of the move shows and for how many more ticks.
// One tick is one call of move::play (or one step by the owner), normally one
// displayed frame.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "anim/frame_effects.h"
#include "core/config_file.h"
#include "core/counted_ptr.h"
#include "gfx/image_cache.h"
#include "gfx/img_mgr.h"

// Longest animation a file may describe; larger "images" values are clamped.
constexpr int max_animation_frames = 1000;

// One frame: owns its picture and its sound effect (the sample is shared).
class animation_frame {
 public:
  private_image image;                // null only when a copy ran out of memory
  std::unique_ptr<frame_sound> sound; // null when the frame is silent
  int rate = 0;        // ticks on screen; 0 or less still shows one tick
  int has_sound = 0;   // 1 when the file named "sound%d"
  int flash = 0;       // flash strength 0..255 handed to the stage
  int shake = 0;       // shake amplitude handed to the stage
  int flashrate = 25;  // flash fade per tick handed to the stage
  int fire = 0;        // nonzero: the owner launches its projectile at the frame's end

  animation_frame() = default;
  animation_frame(const animation_frame& src);  // duplicates the pixels
  animation_frame(animation_frame&& src) noexcept = default;  // vectors grow without copying pixels
  animation_frame& operator=(const animation_frame& src);  // prints "Assigning frames"
};

// Shared through counted_ptr; the count is bookkeeping only (owners delete).
class animation {
 public:
  int32_t ref_count = 0;
  std::vector<animation_frame> frames;  // file order, frame 0 first
  int total = 0;                // sum of the rates: ticks for one pass
  config_file config;           // the file's entries, kept while the animation lives
  int loop = 0;                 // 1: restart at frame 0 after the last frame
  int flipped = 0;              // wanted orientation, 1 = mirrored; set by the owner
  int max_height = 0;           // largest frame picture, pixels
  int max_width = 0;
  int alpha = 255;              // opacity given to each frame picture before drawing
  double scale = 1.0;           // per-move size factor
  double owner_scale = 1.0;     // owner's size factor (loading animation: fit to screen)
  std::vector<colour_swap> colour_swaps;  // applied to every frame picture at load
  // When set, the swaps recolour the frames' own copies only, never the
  // cache's picture (which the first loader of a file otherwise changes for
  // everyone after it).
  bool costume_on_copies = false;

  animation() = default;
  animation(const animation&) = delete;
  animation& operator=(const animation&) = delete;

  void add_ref() { ++ref_count; }
  void release() { --ref_count; }

  // Replaces the frames with those of the animation file `path` (a data name).
  void load(const char* path);
  // Draws frame `index` (the last frame when past the end) at (x, y). Does
  // nothing without frames.
  void draw_frame(int x, int y, unsigned index);
  // Hands the sound, flash and shake of frame `index` (the last frame when
  // past the end) to `out`, in that order. Nothing without frames.
  void frame_effects(unsigned index, frame_effect_sink& out) const;
};

// Playback state of one animation of a move.
struct anim_play {
  int x = 0, y = 0;      // where the frame is drawn this tick
  unsigned index = 0;    // current frame
  int countdown = 0;     // ticks left on the current frame
  int active = 1;        // 0 once a non-looping animation has finished (or has no frames)
  int loop = 0;          // restart at frame 0 after the last frame
  ::animation* animation = nullptr;  // not owned
};

// The "stack animation": one record per animation of a move, same order. Owns
// its records: they are made by add and freed with the stack.
class anim_stack {
 public:
  std::vector<anim_play*> plays;  // owned; read freely, add only through add

  anim_stack() = default;
  anim_stack(const anim_stack&) = delete;
  anim_stack& operator=(const anim_stack&) = delete;
  ~anim_stack();

  // Appends a copy of `record`, kept by this stack; null (nothing added) when
  // out of memory.
  anim_play* add(const anim_play& record);

  size_t size() const { return plays.size(); }
  bool empty() const { return plays.empty(); }
  anim_play* operator[](size_t i) const { return plays[i]; }
  std::vector<anim_play*>::const_iterator begin() const { return plays.begin(); }
  std::vector<anim_play*>::const_iterator end() const { return plays.end(); }
};

// Animations played together at one position.
class move {
 public:
  std::vector<counted_ptr<animation>> animations;  // not owned
  int max_width = 0;   // largest frame 0 picture of the animations; set by new_anim_stack
  int max_height = 0;
  std::unique_ptr<::anim_stack> anim_stack;  // replace to restart

  move() = default;
  move(const move&) = delete;
  move& operator=(const move&) = delete;

  void add(const counted_ptr<animation>& a) { animations.push_back(a); }
  // A fresh stack from frame 0 for the caller; null when out of memory.
  std::unique_ptr<::anim_stack> new_anim_stack();
  // One tick of every animation at (x, y), its frames' effects played live;
  // 0 when no stack can be had.
  int play(int x, int y);
  // One tick of one record (drawn, effects played live); always 1.
  int step(anim_play* record);
};

// What an animation frame does besides showing its picture: it may play a
// sound, and it shakes and flashes the stage it is drawn over, whose zoom also
// sizes the picture. Sounds (fighter/sound_effect) and the stage (stage/level)
// live above this layer and fill the hooks below during start-up; unfilled,
// frames are silent and drawn as over a still, unzoomed stage. Drawing a frame
// only shows it: its effects are handed to a sink when its owner ticks past
// it (the fight's step lists the sounds there, for the program to play).
#pragma once
#include <memory>

// A frame's own sound; copies share the loaded sample.
class frame_sound {
 public:
  virtual ~frame_sound() = default;
  // Once, on mixer channel `channel` (-1: the first free one).
  virtual void play_on(int channel) = 0;
  void play() { play_on(-1); }
  virtual std::unique_ptr<frame_sound> copy() const = 0;  // null when out of memory
  virtual const void* sample() const = 0;  // the loaded data, shared by copies; null when none
};

// The stage frames are drawn over.
class frame_stage {
 public:
  virtual double zoom() const = 0;
  virtual void shake(int amplitude) = 0;  // pixels
  virtual void flash(int strength, int fade_per_tick) = 0;  // strength 0..255

 protected:
  ~frame_stage() = default;
};

// Where the effects of the frames ticked go.
class frame_effect_sink {
 public:
  // `channel` as frame_sound::play_on: -1 for an animation frame's sound.
  virtual void sound(frame_sound& s, int channel) = 0;
  virtual void shake(int amplitude) = 0;
  virtual void flash(int strength, int fade_per_tick) = 0;

 protected:
  ~frame_effect_sink() = default;
};

// Plays the sounds and hands shake and flash to the hooked stage, if any.
frame_effect_sink& live_frame_effects();
// Drops every effect.
frame_effect_sink& muted_frame_effects();

struct frame_effect_hooks {
  // The sound of a data name, loaded once through the sound cache; null when
  // there is no sound system or no memory.
  std::unique_ptr<frame_sound> (*fetch_sound)(const char* name) = nullptr;
  // The stage being played, null when none is.
  frame_stage* (*stage)() = nullptr;
};

// Constant-initialised: the layers above may fill it from their own globals'
// constructors.
extern frame_effect_hooks g_frame_effects;

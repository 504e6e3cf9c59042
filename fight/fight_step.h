// One fight frame of simulation: camera, stage tick, facing, hits, the
// match's rules, every lifeform's step and tick, the clean-up. It draws
// nothing, reads no file and no device: both players' actions come in, read
// once per frame by the caller. It plays no sound either: the sounds the
// frame starts are listed in `events` for the caller to play.
//
// The program draws a frame while it is stepped, at the points a
// `step_observer` hears of (the stage once set, each lifeform between its
// steps, ...); a re-simulation passes none, `quiet` set.
#pragma once
#include "fight/match.h"
#include "fight/step_events.h"
#include "fighter/player_actions.h"

class lifeform;

struct frame_inputs {
  player_actions player[2] = {0, 0};  // the first player's, the second's
};

// Hooks at fixed points of a frame; each does nothing unless overridden.
class step_observer {
 public:
  // Camera set, stage ticked: the stage may be drawn.
  virtual void stage_ready() {}
  // This frame's hit tests are done (not called on a frozen frame).
  virtual void hits_resolved() {}
  // In a match, before its rules: false holds them (a paused match).
  virtual bool match_rules_due() { return true; }
  // In a match, after its rules ran, with the phase from before them.
  virtual void match_ruled(match_phase before) {}
  // Without a match, after the fallen were put down.
  virtual void fight_decided() {}
  // The world stands still this frame (a paused match, texts on show).
  virtual void world_frozen() {}
  // The per-object update begins.
  virtual void objects_begin() {}
  // `l` stands as it should be drawn now (its afterimages, then itself).
  virtual void lifeform_shown(const lifeform& l) {}
  // Entry `k` is done for this frame: its texts and gauge may be drawn.
  virtual void lifeform_done(const lifeform& l, int k) {}
  // Paused (a match's menu, training's): nothing moves, even in a match's intro or result.
  virtual bool paused() const { return false; }

 protected:
  ~step_observer() = default;
};

struct step_options {
  match_state* match = nullptr;       // null: no match rules (a decided fight goes on, the fallen lying)
  step_observer* observer = nullptr;  // null: nobody draws
  // Emptied, then given the sounds this frame starts; null: not kept, so
  // nobody hears them.
  step_events* events = nullptr;
  // Quiet: log lines muted, for frames re-simulated after a restore (whose
  // sounds the caller doesn't play again).
  bool quiet = false;
};

// Advances the live fight (lifeform_list, g_level, `options.match`) by one
// frame and the fight clock's frame count by one.
void step(const frame_inputs& inputs, const step_options& options);

// Entry `k` of lifeform_list through its step, its afterimages and its tick
// (update_lifeform of the per-object update), shown to `observer` at each
// point it should be drawn; the sounds it starts go to `events` (may be null).
void step_lifeform(int k, step_events* events, step_observer* observer);

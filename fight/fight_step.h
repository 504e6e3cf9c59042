// One fight frame of simulation: camera, stage tick, facing, hits, the
// match's rules, every lifeform's step and tick, the clean-up. It draws
// nothing, reads no file and no device: both players' actions come in, read
// once per frame by the caller. The sounds of the frames ticked play as
// they always did, unless `quiet`.
//
// The program draws a frame while it is stepped, at the points a
// `step_observer` hears of (the stage once set, each lifeform between its
// steps, ...); a re-simulation passes none, `quiet` set.
#pragma once
#include "fight/match.h"
#include "fighter/player_actions.h"

class frame_effect_sink;
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
  // Quiet: sounds dropped (shake and flash still reach the stage) and log
  // lines muted, for frames re-simulated after a restore.
  bool quiet = false;
};

// Advances the live fight (lifeform_list, g_level, `options.match`) by one
// frame and the fight clock's frame count by one.
void step(const frame_inputs& inputs, const step_options& options);

// Entry `k` of lifeform_list through its step, its afterimages and its tick
// (update_lifeform of the per-object update), shown to `observer` at each
// point it should be drawn.
void step_lifeform(int k, frame_effect_sink& effects, step_observer* observer);

// The per-object step of every fight frame: for each live lifeform of
// lifeform_list, in list order, derive its posture from its requests, start
// attacks, combo moves and dashes, jump and fall, move and clamp it, draw it,
// and for the two fighters (entries 0 and 1) draw the top-of-screen gauges.
#pragma once
#include "fight/fight_step.h"
#include "fight/object_step.h"  // the rules half, and posture and move slot names

// Set while a match runs: it draws the gauges and names on fixed sides
// itself, so the update leaves out the ones that follow the fighters' facing.
extern bool match_draws_gauges;
// Set while a match runs: a performed combo shows the move's name ("Dash")
// instead of the plain fight's "Combo[3]".
extern bool combo_texts_named;

// Walks lifeform_list by index; a lifeform appended during the walk (a bullet
// fired by an advance) is updated in the same frame. Dead lifeforms are skipped.
void update_all_lifeforms();

// One live lifeform, entry `k` of lifeform_list.
void update_lifeform(int k);

// What is drawn over lifeform `l`, entry `k`, after its tick: its combo text
// and, for a fighter outside a match, its top-of-screen gauge and name.
// Changes nothing.
void draw_lifeform_overlays(const lifeform& l, int k);

// The observer that draws the lifeforms and their texts as a step shows them
// (it also clears the frame's combo text places at objects_begin).
step_observer& object_drawing();

// Keeps the two fighters' bodies apart: run after a fighter's movement, so the
// hit rules of the next frame see them side by side, touching.
#pragma once

// When entries 0 and 1 are alive, both stand on the floor and their body
// boxes (x, width in world units) overlap, each moves back along x by half
// the overlap; one held at the level's edge leaves the whole push to the
// other. Fighters in the air pass over each other; projectiles are never pushed.
void push_fighters_apart();

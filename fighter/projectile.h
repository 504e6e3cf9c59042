// Projectiles: the bullet a firing animation frame spawns, and the weapon and
// stream facility (complete, though the game's content attaches no weapons).
#pragma once
#include <memory>

#include "fighter/weapon.h"

class frame_effect_sink;
class lifeform;
class move;

// The bullet picture, whichever fighter fires.
constexpr const char* bullet_image_name = "rsrc\\brela\\special\\brela_bullet1.png";

// A new move playing the same animations (shared through their counted_ptr)
// with the same size and a fresh, empty stack.
std::unique_ptr<move> copy_move(const move& src);

// Appends to lifeform_list, which keeps it, a bullet fired by `shooter` from
// its move slot 13. A shooter without that move fires nothing (said once).
// Returns the bullet or null.
lifeform* spawn_bullet(lifeform& shooter);

// Called by steer once the path has run: restores reload counters, fires the requested weapons,
// saves the counters. A shot's sound goes to `effects`.
void fire_weapons(lifeform& carrier, frame_effect_sink& effects);
// Fires every ready stream of `w` with the carrier's aim; appends the projectiles.
void fire_weapon(lifeform& carrier, weapon& w, frame_effect_sink& effects);

// Gives `carrier` a copy of `w`. A fourth weapon is refused and streams beyond
// the eleventh are dropped, each with a line; false when refused.
bool attach_weapon(lifeform& carrier, const weapon& w);

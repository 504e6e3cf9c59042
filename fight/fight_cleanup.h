// Dead projectiles leave lifeform_list, so a long fight neither slows down
// (the projectile pass is quadratic) nor grows in memory. Entries 0 and 1 are
// the two fighters and always stay, dead or alive.
#pragma once
#include <cstddef>

// Removes every dead lifeform after the two fighters, keeping the order of
// the others, and frees what each owned. Returns how many were removed.
size_t remove_dead_projectiles();

// Frees one projectile the list has let go of: the lifeform with all it
// holds alone (own_path, owned_moves, owned_images, its anim_stack).
void free_projectile(class lifeform* l);

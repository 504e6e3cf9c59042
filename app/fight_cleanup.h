// Dead projectiles leave lifeform_list, so a long fight neither slows down
// (the projectile pass is quadratic) nor grows in memory. Entries 0 and 1 are
// the two fighters and always stay, dead or alive.
#pragma once
#include <cstddef>

// Removes every dead lifeform after the two fighters, keeping the order of
// the others, and frees what each owned. Returns how many were removed.
size_t remove_dead_projectiles();

// Frees one removed projectile: the lifeform itself, with its path when it
// owns it, its move copies, its playing records and its own picture copies
// (free_private_copy, gfx/image_cache.h).
void free_projectile(class lifeform* l);

// The zoomed copies software drawing keeps per picture. An entry is shared
// between a picture and every copy made of it, so no single image can free
// it: the entries are owned here and live until the program ends.
#pragma once
#include <cstddef>
#include <cstdint>

#include "gfx/img_mgr.h"

// A new, empty entry for zoom key `key` and orientation `flipped`.
zoom_entry* new_zoom_entry(int32_t key, uint32_t flipped);
// How many entries were made so far.
size_t zoom_entries_made();
// Frees every entry and this program's count on each zoomed surface. Only for
// harnesses that have already freed every image (each would list them).
void free_all_zoom_entries();

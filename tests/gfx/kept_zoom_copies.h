// Tests of the kept zoomed copies switch the fast zoomed draws off while they
// run: with it on (the game's default) nothing is kept.
#pragma once
#include "gfx/zoom_window.h"

struct kept_zoom_copies {
  kept_zoom_copies() { set_zoom_fast_path(false); }
  ~kept_zoom_copies() { set_zoom_fast_path(true); }
  kept_zoom_copies(const kept_zoom_copies&) = delete;
  kept_zoom_copies& operator=(const kept_zoom_copies&) = delete;
};

// Program-wide objects whose constructors print are built before main in this
// order, whichever library and file defines them (GCC and Clang init_priority;
// lower first, all before objects without a priority): the video object's
// start-up lines, then one "making hash empty" per resource cache.
#pragma once

#define STARTUP_ORDER(n) __attribute__((init_priority(n)))

#define STARTUP_SIGNALS 999  // the game's signal dispositions, before anything prints
#define STARTUP_VIDEO 1000
#define STARTUP_SOUND_CACHE 1001
#define STARTUP_UNUSED_CACHES 1002  // three caches that are never filled
#define STARTUP_IMAGE_CACHE 1003
#define STARTUP_ANIMATION_CACHE 1004

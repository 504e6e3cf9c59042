// Program-wide objects built during static initialisation. Their construction
// order is visible in the log (core/startup_order.h): the video object first,
// then the resource caches, of which sound_cache (fighter/) and image_cache
// (gfx/) live beside the types they hold.
#include "anim/animation.h"
#include "app/video.h"
#include "core/nmanager.h"
#include "core/startup_order.h"

video g_video STARTUP_ORDER(STARTUP_VIDEO);

// Each cache prints "making hash empty" when built; only sound_cache and
// image_cache are ever filled, the other four only keep the start-up log as it is.
struct cache_record64 {
  char bytes[64];
};
struct lifeform_cache_slot {
  char bytes[1];
};

nmanager<anim_play> anim_play_cache STARTUP_ORDER(STARTUP_UNUSED_CACHES);
nmanager<cache_record64> record_cache STARTUP_ORDER(STARTUP_UNUSED_CACHES);
nmanager<lifeform_cache_slot> lifeform_cache STARTUP_ORDER(STARTUP_UNUSED_CACHES);
nmanager<animation> animation_cache STARTUP_ORDER(STARTUP_ANIMATION_CACHE);

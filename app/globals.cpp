// Program-wide objects built during static initialisation. They are defined in
// this one file because their construction order is visible in the log: the
// video object first, then the resource caches.
#include "anim/animation.h"
#include "app/video.h"
#include "core/nmanager.h"

video g_video;

// Each cache prints "making hash empty" when built; only sound_cache and
// image_cache are ever filled, the other four only keep the start-up log as it is.
struct cache_record64 {
  char bytes[64];
};
struct lifeform_cache_slot {
  char bytes[1];
};

nmanager<sound_effect> sound_cache;
nmanager<anim_play> anim_play_cache;
nmanager<cache_record64> record_cache;
nmanager<lifeform_cache_slot> lifeform_cache;
nmanager<img_mgr> image_cache;
nmanager<animation> animation_cache;

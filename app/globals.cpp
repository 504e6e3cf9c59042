// Program-wide objects built during static initialisation. They are defined in
// this one file because their construction order is visible in the log: the
// video object first, then the resource caches.
#include "app/video.h"

video g_video;

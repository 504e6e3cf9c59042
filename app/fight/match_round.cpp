#include "app/fight/match_round.h"

#include <cstring>

#include "fight/fight_cleanup.h"
#include "app/fight/fight_setup.h"
#include "app/fight/object_update.h"
#include "app/video.h"
#include "core/safe_trunc.h"
#include "fighter/lifeform.h"
#include "gfx/img_mgr.h"
#include "gfx/screen.h"
#include "stage/level.h"

bool draw_lying(lifeform& l) {
  img_mgr* img = l.knocked_out_image;
  if (!img || img->get_width() <= 0 || img->get_height() <= 0 || !g_screen.screen) return false;
  int cam_x = 0, cam_y = 0;
  double zoom = 1.0;
  if (g_level) {
    cam_x = g_level->scroll_x;
    cam_y = g_level->scroll_y;
    zoom = g_level->zoom;
  }
  if (img->flipped != static_cast<uint32_t>(l.facing)) img->flip();
  // Placed as the posture pictures are (the zoomed draw scales x from the
  // screen's left edge and keeps the bottom edge), in picture pixels.
  const int across = (l.width - img->get_width()) / 2;
  const int top = l.y + l.height - img->get_height() - cam_y;
  const double z = zoom * l.scale;
  if (z == 1.0) {
    img->draw(l.x - cam_x + across, top);
  } else {
    img->draw_zoomed(trunc_to_int(l.x / l.scale - cam_x) + across, top, g_screen.screen, z);
  }
  return true;
}

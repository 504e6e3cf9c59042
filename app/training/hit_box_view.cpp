#include "app/training/hit_box_view.h"

#include "app/viewer/viewer_overlay.h"
#include "fight/hit_detection.h"
#include "fighter/lifeform.h"

bool box_is_blow(const lifeform& l) { return l.kind == kind_projectile || l.state == posture_attacking; }

void draw_training_hit_boxes() {
  const hit_box_colours colours;
  for (const lifeform* l : lifeform_list) {
    if (!l || !l->alive()) continue;
    const screen_box b = map_to_screen(l->x, l->y, l->x + l->width, l->y + l->height, l->height);
    const unsigned char* c = box_is_blow(*l) ? colours.blow : colours.body;
    draw_outline(b.left, b.top, b.right, b.bottom, overlay_colour{c[0], c[1], c[2]});
  }
}

#include "app/fight/app_fight_host.h"

#include <SDL_opengl.h>

#include <vector>

#include "app/dev/script_driver.h"
#include "app/fight/fight_text.h"
#include "app/video.h"
#include "fight/fight_host.h"
#include "fight/fight_options.h"
#include "fight/hit_detection.h"
#include "fighter/lifeform.h"

namespace {

void outline(const screen_box& b, float r, float g, float bl) {
  glColor3f(r, g, bl);
  glVertex2i(b.left, b.top);
  glVertex2i(b.left, b.bottom);
  glVertex2i(b.left, b.bottom);
  glVertex2i(b.right, b.bottom);
  glVertex2i(b.right, b.bottom);
  glVertex2i(b.right, b.top);
  glVertex2i(b.right, b.top);
  glVertex2i(b.left, b.top);
}

// The boxes one hit test compared, as they stood when it compared them.
struct compared_boxes {
  screen_box p_reach, q_reach, p_body, q_body;
};

// This frame's comparisons, drawn after the hits are resolved.
std::vector<compared_boxes> compared_this_frame;

void keep_hit_boxes(const lifeform& p, const lifeform& q) {
  if (!opengl_mode() || !current_fight_options().hit_boxes) return;
  compared_boxes c;
  c.p_body = map_to_screen(p.x, p.y, p.x + p.width, p.y + p.height, p.height);
  c.q_body = map_to_screen(q.x, q.y, q.x + q.width, q.y + q.height, q.height);
  int dw, dh;
  move_size(p, 0, dw, dh);
  const int p_left = p.facing == 1 ? p.x + 2 * (first_image_width(p) - dw) : p.x;
  c.p_reach = map_to_screen(p_left, p.y, p_left + dw, p.y + dh, p.height);
  move_size(q, 0, dw, dh);
  const int q_a = q.facing == 1 ? q.x : q.x + 2 * (first_image_width(q) - dw);
  const int q_b = q.facing == 1 ? q.x - dw : q.x + dw;
  c.q_reach = map_to_screen(q_a, q.y, q_b, q.y + dh, q.height);
  compared_this_frame.push_back(c);
}

class app_fight_host : public fight_host {
 public:
  bool screen_size(int& w, int& h) const override {
    if (!g_video.screen) return false;
    w = g_video.screen->w;
    h = g_video.screen->h;
    return true;
  }
  bool fight_tracing() const override { return ::fight_tracing(); }
  long presented_frames() const override { return ::presented_frames(); }
  void boxes_compared(const lifeform& p, const lifeform& q) override { keep_hit_boxes(p, q); }
};

}  // namespace

// The reach (green, blue) and body (red, dark red) outlines of every pair.
void draw_hit_outlines() {
  if (compared_this_frame.empty()) return;
  glDisable(GL_TEXTURE_2D);
  glLineWidth(5.0f);
  for (const compared_boxes& c : compared_this_frame) {
    glBegin(GL_LINES);
    outline(c.p_reach, 0.0f, 1.0f, 0.0f);
    outline(c.q_reach, 0.0f, 0.0f, 1.0f);
    outline(c.p_body, 1.0f, 0.0f, 0.0f);
    outline(c.q_body, 0.5f, 0.0f, 0.0f);
    glEnd();
    glColor3f(1.0f, 1.0f, 1.0f);
  }
  compared_this_frame.clear();
}

void install_app_fight_host() {
  static app_fight_host host;
  set_fight_host(&host);
}

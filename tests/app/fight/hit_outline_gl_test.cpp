// In OpenGL mode the boxes each overlap test compares are outlined when the
// frame draws them, not by the test itself.
#include <gtest/gtest.h>

#include "support/test_media.h"
#include "app/fight/app_fight_host.h"
#include "fight/fight_options.h"
#include "fight/hit_detection.h"
#include "fighter/lifeform.h"
#include "stage/level.h"
#include "support/test_env.h"

namespace {

TEST(HitOutlineGl, BodyBoxesAreOutlinedInRedAndDarkRed) {
  ensure_video(640, 480);
  level stage;
  level* saved = g_level;
  g_level = &stage;
  lifeform p, q;
  p.x = 100;
  p.y = 100;
  q.x = 400;
  q.y = 100;
  p.width = q.width = 20;
  p.height = q.height = 40;
  clear_frame();
  EXPECT_FALSE(overlap_test(p, q));
  EXPECT_EQ((rgb{0, 0, 0}), screen_pixel(100, 120));  // the hit test draws nothing
  p.x = q.x = 900;  // moved after the test: the outlines show where it saw them
  draw_hit_outlines();
  EXPECT_EQ((rgb{255, 0, 0}), screen_pixel(100, 120));  // p's left edge
  EXPECT_EQ((rgb{255, 0, 0}), screen_pixel(110, 140));  // p's bottom edge
  const rgb dark = screen_pixel(420, 120);              // q's right edge
  EXPECT_NEAR(128, dark.r, 2);
  EXPECT_EQ(0, dark.g);
  EXPECT_EQ((rgb{0, 0, 0}), screen_pixel(110, 120));  // inside: outlines only

  // hide_hit_boxes: the same test, nothing drawn.
  fight_options hidden;
  hidden.hit_boxes = false;
  set_fight_options(hidden);
  clear_frame();
  p.x = 100;
  q.x = 400;
  EXPECT_FALSE(overlap_test(p, q));
  draw_hit_outlines();
  EXPECT_EQ((rgb{0, 0, 0}), screen_pixel(100, 120));
  EXPECT_EQ((rgb{0, 0, 0}), screen_pixel(420, 120));
  set_fight_options(fight_options());
  g_level = saved;
}

}  // namespace

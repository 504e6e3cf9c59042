// Drawing a fight frame changes nothing, in software mode (the OpenGL twin is
// fight_draw_gl_test.cpp).
#include "fight_draw_check.h"

namespace {

using FightDraw = fight_scene;

TEST_F(FightDraw, DrawingAFrameAgainAndAgainChangesNothing) {
  lifeform& a = fighter(100, 0);
  lifeform& b = fighter(300, 1);
  fight_draw::expect_drawing_changes_nothing(a, b, stage);
}

}  // namespace

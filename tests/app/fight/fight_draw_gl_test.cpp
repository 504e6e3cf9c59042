// Drawing a fight frame changes nothing, in OpenGL mode (the software twin is
// fight_draw_test.cpp).
#include "fight_draw_check.h"

namespace {

using FightDrawGl = fight_scene;

TEST_F(FightDrawGl, DrawingAFrameAgainAndAgainChangesNothing) {
  lifeform& a = fighter(100, 0);
  lifeform& b = fighter(300, 1);
  fight_draw::expect_drawing_changes_nothing(a, b, stage);
}

}  // namespace

// A fighter knocked out in a match lies on the floor in its character file's
// "knocked_out" picture, mirrored to its facing; one without it keeps showing
// its hit posture.
#include <gtest/gtest.h>

#include "support/test_media.h"
#include "app/fight/match_driver.h"
#include "fight_scene.h"

namespace {

using KnockedOut = fight_scene;

const rgb black{0, 0, 0}, red{255, 0, 0}, yellow{255, 255, 0}, posture_blue{40, 40, 200};

void draw_world(match_driver& match) {
  SDL_FillRect(g_video.screen, nullptr, 0);
  capture_stdout([&] { match.draw_frozen_world(); });
}

TEST_F(KnockedOut, AFallenFighterLiesInItsPictureOnTheFloorFacingItsWay) {
  lifeform& plain = fighter(100, 0, mode_computer);  // nine 20 x 40 blue postures, no knocked_out
  const std::string stand = picture("stand.png", 20, 40, 40, 40, 200);
  // 60 x 16, red on its left half, yellow on its right.
  const std::string lying = write_picture(dir, "lying.png", 60, 16, [](int x, int) { return x < 30 ? red : yellow; });
  write_text_file(dir, "fallen_char.ini",
                  "hp=100\nimages=1\nimage0=" + stand + "\nknocked_out=" + lying + "\n");
  lifeform* fallen = new lifeform;
  capture_stdout([&] { fallen->load((dir + "/fallen_char.ini").c_str()); });
  lifeform_list.push_back(fallen);
  fallen->x = 300;
  fallen->team = 1;
  ASSERT_EQ(20, fallen->width);  // the box stays the postures' size
  ASSERT_EQ(40, fallen->height);

  match_rules rules;
  rules.rounds = 2;
  match_driver match(rules);
  match.state.phase = match_phase::fighting;
  plain.hp = fallen->hp = -1;  // both fall: a drawn round
  capture_stdout([&] { match.step(); });
  ASSERT_EQ(match_phase::round_over, match.state.phase);

  // Centred under its 20-wide box (x 300..319), bottom row on the floor.
  fallen->facing = 0;
  draw_world(match);
  EXPECT_EQ(red, screen_pixel(281, 479));
  EXPECT_EQ(yellow, screen_pixel(338, 464));
  EXPECT_EQ(black, screen_pixel(279, 470));
  EXPECT_EQ(black, screen_pixel(340, 470));
  EXPECT_EQ(black, screen_pixel(310, 463));  // no standing picture above it
  // The one without a picture shows its hit posture, as it always has.
  EXPECT_EQ(posture_blue, screen_pixel(105, 450));

  fallen->facing = 1;
  draw_world(match);
  EXPECT_EQ(yellow, screen_pixel(281, 479));
  EXPECT_EQ(red, screen_pixel(338, 464));

  // The next round stands it up again.
  for (int i = 0; i < 1000 && match.state.phase != match_phase::intro; ++i) capture_stdout([&] { match.step(); });
  ASSERT_EQ(match_phase::intro, match.state.phase);
  stage.scroll_x = fallen->x - 300;  // placed for the round, maybe off this screen
  draw_world(match);
  const lifeform::screen_box box = fallen->on_screen();
  EXPECT_EQ(posture_blue, screen_pixel(box.x + 10, box.y + 5));
}

}  // namespace

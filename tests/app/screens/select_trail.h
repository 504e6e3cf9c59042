// The select screen's circling copies keep off the fighter's painted name, in
// the drawing mode of the test program that includes this.
#pragma once
#include <gtest/gtest.h>

#include "app/screens/select_screen.h"
#include "gfx/img_mgr.h"
#include "support/test_env.h"
#include "support/test_media.h"

// A 100 x 100 shot with its name (red) in the top 20 rows, blue below, drawn
// at (200, 200) with the copies at rotation 180: left (160, 200), above
// (200, 160), right (240, 200) and below (200, 240), each at half opacity.
inline void check_trail_keeps_off_the_name() {
  ensure_video();
  const std::string dir = make_temp_dir("select_trail");
  const std::string file =
      write_picture(dir, "shot.png", 100, 100, [](int, int y) { return y < 20 ? rgb{255, 0, 0} : rgb{0, 0, 255}; });
  img_mgr shot;
  capture_stdout([&] {
    shot.load(file.c_str());
    shot.upload();
  });
  struct spot {
    int x, y;
    const char* what;
  };
  const spot names[] = {{170, 205, "left copy's name"}, {250, 170, "risen copy's name"}, {320, 205, "right copy's name"}};
  const spot bodies[] = {{170, 250, "left copy's body"}, {250, 190, "risen copy between the names"},
                         {320, 250, "right copy's body"}, {250, 330, "lowered copy's body"}};
  for (int name_height : {0, 20}) {
    SCOPED_TRACE(name_height);
    clear_frame();
    draw_select_shot(shot, 200, 200, 180, true, name_height);
    for (const spot& s : names) {
      const rgb p = screen_pixel(s.x, s.y);
      if (name_height == 0) {
        EXPECT_NEAR(128, p.r, 3) << s.what;  // the trail as it always was
      } else {
        EXPECT_EQ((rgb{0, 0, 0}), p) << s.what;
      }
    }
    for (const spot& s : bodies) EXPECT_NEAR(128, screen_pixel(s.x, s.y).b, 3) << s.what;
    EXPECT_EQ((rgb{255, 0, 0}), screen_pixel(250, 210));  // the shot's own name, whole
  }
}

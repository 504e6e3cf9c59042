// Reloading an edited picture in the viewer, again and again, in either
// drawing mode: the old pixels, with the mirrored, recoloured and zoomed
// copies made from them, are given back at each reload, so the pixels in use
// stay what one load takes.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/keep_until_exit.h"
#include "app/viewer/viewer_scene.h"
#include "gfx/pixel_share.h"
#include "stage/level.h"
#include "support/confined_data.h"
#include "support/test_env.h"

namespace viewer_reload_memory {

// A picture of w x h on the key colour, with a block of the first costume
// colour so the costume has pixels to recolour.
inline void write_fighter_picture(const std::string& dir, int w, int h) {
  write_solid_picture(dir, "rsrc/big/stand.png", w, h, 252, 244, 255);
}

inline void expect_pixels_given_back_on_reload() {
  ensure_video();
  if (!g_level) g_level = keep_until_exit(std::make_unique<level>());
  const std::string dir = make_temp_dir("viewer_reload_memory");
  write_text_file(dir, "game/fighter/big_char.ini", "hp=100\nimages=1\nimage0=rsrc\\big\\stand.png\n");
  // Two sizes in turn: every reload sees a changed file.
  const int widths[2] = {1024, 1000};
  write_fighter_picture(dir, widths[0], 512);
  confined_in in(dir);

  viewer_scene scene;
  long long in_use[6] = {};
  capture_stdout([&] {
    scene.start("game\\fighter\\big_char.ini");
    for (int k = 0; k < 6; ++k) {
      // Drawn plain, mirrored, in the costume, mirrored in the costume.
      for (viewer_command c : {viewer_command::mirror, viewer_command::costume, viewer_command::mirror,
                               viewer_command::costume}) {
        scene.draw();
        scene.command(c);
      }
      scene.draw();
      in_use[k] = picture_pixels_in_use();
      write_fighter_picture(dir, widths[(k + 1) % 2], 512);
      scene.command(viewer_command::reload);
    }
  });
  ASSERT_TRUE(scene.fighter.problems.empty()) << scene.fighter.problems.front().text;
  // The first round loads the costume when asked; reloads load it at once.
  for (int k = 3; k < 6; ++k) {
    EXPECT_EQ(in_use[k - 2], in_use[k]) << "pixels in use after reload " << k << " grew from " << in_use[k - 2];
  }
}

}  // namespace viewer_reload_memory

// `--check` on a hand-made stage: it reports a stage whose pictures cannot
// fill the screen wherever the camera looks, and accepts one that can.
#include <gtest/gtest.h>

#include <string>

#include "support/run_game.h"
#include "support/test_env.h"

namespace {

// A stage of one piece with one parallax layer on a 640x480 screen; the
// piece's picture is piece_w x piece_h, the layer 1000x750. The camera's
// widest view is then the widest picture over the screen width.
std::string stage_tree(int piece_w, int piece_h, const std::string& settings = "") {
  std::string dir = make_temp_dir("check_stage");
  write_text_file(dir, "game/game.ini", settings);
  write_solid_picture(dir, "rsrc/veltmoore/back.png", piece_w, piece_h, 40, 30, 90);
  write_solid_picture(dir, "rsrc/veltmoore/near.png", 1000, 750, 0, 255, 0);
  write_text_file(dir, "rsrc/veltmoore/bgset.ini",
                  "width=1000\nimages=2\nimage0=rsrc\\veltmoore\\back.png\nimage1=rsrc\\veltmoore\\near.png\n");
  write_text_file(dir, "rsrc/veltmoore/stage_veltmoore.ini",
                  "bgset=rsrc\\veltmoore\\bgset.ini\nlength=1\npart0=0\npart0parallax=1\npart0parallax0=1\n");
  return dir;
}

std::string stage_problems(const std::string& dir) {
  game_run run = run_fight({"--data-dir", dir, "--check"}, {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"});
  std::string found;
  const std::string tag = "PROBLEM: [rsrc\\veltmoore\\stage_veltmoore.ini] part0";
  for (size_t at = run.out.find(tag); at != std::string::npos; at = run.out.find(tag, at + 1)) {
    found += run.out.substr(at, run.out.find('\n', at) - at) + "\n";
  }
  return found;
}

TEST(DataCheckStage, APieceTooSmallForTheWidestViewIsReported) {
  // Widest view: zoom 640 / 1000 = 0.64, which shows 1000 x 750 of the piece.
  EXPECT_EQ("", stage_problems(stage_tree(1000, 750)));
  EXPECT_EQ("PROBLEM: [rsrc\\veltmoore\\stage_veltmoore.ini] part0's picture [rsrc\\veltmoore\\back.png] (1000x740) "
            "cannot cover a 640x480 screen when the camera zooms out to 0.640: it needs 1000x750; the camera stops "
            "zooming out at about 0.649 instead\n",
            stage_problems(stage_tree(1000, 740)));
  // The same pictures suit a 960x480 screen (zoom 0.96 shows 1000 x 500), not a 480x640 one.
  EXPECT_EQ("", stage_problems(stage_tree(1000, 740, "width=960\nheight=480\n")));
  EXPECT_NE("", stage_problems(stage_tree(1000, 740, "width=480\nheight=640\n")));
}

}  // namespace

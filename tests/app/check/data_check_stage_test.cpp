// `--check` on a hand-made stage: it warns about a stage whose pictures cannot
// fill the screen wherever the camera looks, or a piece stacked where the
// screen never shows it, and accepts one that fills it.
#include <gtest/gtest.h>

#include <string>

#include "support/run_game.h"
#include "support/test_env.h"

namespace {

// A stage of one piece with one parallax layer on a 640x480 screen; the
// piece's picture is piece_w x piece_h, the layer 1000x750. The camera's
// widest view is then the widest picture over the screen width. `more_parts`
// adds level keys after part 0's.
std::string stage_tree(int piece_w, int piece_h, const std::string& settings = "", const std::string& more_parts = "") {
  std::string dir = make_temp_dir("check_stage");
  write_text_file(dir, "game/game.ini", settings);
  write_solid_picture(dir, "rsrc/veltmoore/back.png", piece_w, piece_h, 40, 30, 90);
  write_solid_picture(dir, "rsrc/veltmoore/near.png", 1000, 750, 0, 255, 0);
  write_text_file(dir, "rsrc/veltmoore/bgset.ini",
                  "width=1000\nimages=2\nimage0=rsrc\\veltmoore\\back.png\nimage1=rsrc\\veltmoore\\near.png\n");
  write_text_file(dir, "rsrc/veltmoore/stage_veltmoore.ini",
                  "bgset=rsrc\\veltmoore\\bgset.ini\nlength=" + std::string(more_parts.empty() ? "1" : "2") +
                      "\npart0=0\npart0parallax=1\npart0parallax0=1\n" + more_parts);
  return dir;
}

// The stage file's findings that hold `needle`.
std::string stage_findings(const std::string& dir, const std::string& needle = "") {
  game_run run = run_fight({"--data-dir", dir, "--check"}, {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"});
  std::string found;
  const std::string tag = "rsrc\\veltmoore\\stage_veltmoore.ini:";
  for (size_t at = run.out.find(tag); at != std::string::npos; at = run.out.find(tag, at + 1)) {
    const std::string line = run.out.substr(at, run.out.find('\n', at) - at);
    if (line.find(needle) != std::string::npos) found += line + "\n";
  }
  return found;
}

TEST(DataCheckStage, APieceTooSmallForTheWidestViewIsReported) {
  // Widest view: zoom 640 / 1000 = 0.64, which shows 1000 x 750 of the piece.
  EXPECT_EQ("", stage_findings(stage_tree(1000, 750)));
  EXPECT_EQ("rsrc\\veltmoore\\stage_veltmoore.ini:3: warning: part0's picture [rsrc\\veltmoore\\back.png] (1000x740) "
            "cannot cover a 640x480 screen when the camera zooms out to 0.640: it needs 1000x750; where the fighters "
            "need a zoom below 0.649, the screen beyond the picture shows its edge colours, darkened\n",
            stage_findings(stage_tree(1000, 740)));
  // The same pictures suit a 960x480 screen (zoom 0.96 shows 1000 x 500), not a 480x640 one.
  EXPECT_EQ("", stage_findings(stage_tree(1000, 740, "width=960\nheight=480\n")));
  EXPECT_NE("", stage_findings(stage_tree(1000, 740, "width=480\nheight=640\n")));
}

TEST(DataCheckStage, APieceStackedOffTheScreenIsReported) {
  // The stack stands on the bottom row: part 0's 750 rows reach 270 rows above
  // a 480-row screen, and part 1's 750 rows lie above those, out of sight. A
  // screen over 750 rows tall shows part of it.
  EXPECT_EQ("rsrc\\veltmoore\\stage_veltmoore.ini:6: warning: part1's picture [rsrc\\veltmoore\\back.png] sits at "
            "screen rows -1020..-271, above the 640x480 screen: it is never drawn\n",
            stage_findings(stage_tree(1000, 750, "", "part1=0\n"), "part1"));
  EXPECT_EQ("", stage_findings(stage_tree(1000, 750, "width=1000\nheight=760\n", "part1=0\n"), "part1"));
}

}  // namespace

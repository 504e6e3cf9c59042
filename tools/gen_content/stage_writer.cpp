#include "stage_writer.h"

#include "stage_art.h"

const char* const kLevelFile = "rsrc\\veltmoore\\stage_veltmoore.ini";

namespace {
const char* const kDir = "rsrc\\veltmoore\\";
}

void write_stage(DataTree& tree) {
  const std::string dir = kDir;
  // Picture 0 must be the ground piece: its height places the bottom piece.
  // The stage is that one piece: the stack is fixed on the screen with the
  // bottom piece's lower edge on the screen's, so a piece above a ground piece
  // this tall would start 2400 rows above that edge, and the ground piece,
  // zoomed over every row above its edge, would hide it anyway. Its own top
  // rows are the night sky.
  const std::string pics[] = {dir + "veltmoore_sky.png", dir + "veltmoore_hills.png", dir + "veltmoore_grove.png",
                              dir + "veltmoore_floor.png"};
  tree.write(pics[0], stage_ground_piece());
  tree.write(pics[1], stage_far_layer());
  tree.write(pics[2], stage_near_layer());
  tree.write(pics[3], stage_floor());

  KeyValues bgset;
  bgset.add("width", kStageW).add("images", 4);
  for (int i = 0; i < 4; ++i) bgset.add(key("image%d", i), pics[i]);
  tree.write(dir + "bgset_veltmoore.ini", bgset);

  KeyValues level;
  level.add("bgset", dir + "bgset_veltmoore.ini")
      .add("length", 1)
      .add("part0", 0)
      .add("part0parallax", 2)
      .add("part0parallax0", 1)
      .add("part0parallax1", 2)
      .add("part0sortie", dir + "sortie0.ini")
      .add("floor", 3)
      .add("scale", 1.0)
      .add("music", "rsrc\\music\\stage_loop.wav");
  tree.write(kLevelFile, level);

  KeyValues s0;
  s0.add("enemies", 2).add("enemy0", 1).add("enemy0count", 3).add("enemy1", 2).add("enemy1count", 1);
  tree.write(dir + "sortie0.ini", s0);
}

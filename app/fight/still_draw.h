// Drawing the stage without moving it: while the match pauses or shows its
// texts, the stage is drawn as it stands, its shake and flash keeping their
// values. (Lifeforms need no such help: drawing one changes nothing.)
#pragma once

class level;

// The stage under the current camera, its shake and flash left as they were.
void draw_level_still(level& stage);

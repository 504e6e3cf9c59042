// What the screen shows where the stage's pictures don't reach (the camera
// zoomed out past them to keep both fighters in view, or pictures smaller
// than the screen): a backdrop in the stage's own edge colours, darkened, so
// the stage reads as framed rather than torn. Each screen row takes the colour
// the ground piece's picture has at its left and right edges on the row that
// would be shown there, so the sky carries on above the stage and the ground
// beside it.
#pragma once
#include <cstdint>
#include <vector>

class img_mgr;

// One 0xRRGGBB colour per row of a piece `rows` high drawn as the pictures
// `back_to_front` standing on its bottom edge (the piece, then its layers):
// the mean of the few pixels nearest the left and right edges of the
// front-most picture that has some not of the key colour there (where none
// has, the colour of the row above). Empty when no picture has pixels to read.
std::vector<uint32_t> edge_colours(const std::vector<const img_mgr*>& back_to_front, int rows);

// Fills the whole screen, in either drawing mode: screen row t gets the
// darkened colour of picture row window_y + rows.size() - (bottom - t) / zoom,
// held at the first or last row beyond the picture (the mapping of a picture
// zoomed about its bottom edge at screen row `bottom` showing its window from
// row window_y). Without colours, a dark grey.
void paint_backdrop(const std::vector<uint32_t>& rows, int window_y, int bottom, double zoom, int screen_w,
                    int screen_h);

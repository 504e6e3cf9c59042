// The windows of the stage's zoomed layers: how much of a picture the screen
// shows at a zoom, and where that window may lie so that everything reaching
// the screen comes from inside the picture. Pictures are zoomed about their
// bottom edge and scaled from the screen's left edge (see img_mgr::draw_zoomed).
#pragma once

// Picture columns a layer drawn at `zoom` needs to span `screen_w` screen
// columns, with one to spare for the truncations of the zoomed draw.
int window_span(int screen_w, double zoom);

// Texels to keep between a window and the picture's left and bottom edges: a
// magnified OpenGL texture is filtered across its edge texels, and past the
// picture's edge lie transparent ones (the other two edges are far enough
// inside already). 0 for software blits and minified textures.
int window_margin(bool opengl, double zoom);

// `x` moved into margin .. picture_w - span, so a window `span` wide stays
// inside the picture; unchanged when the picture is narrower than that.
int clamp_window_x(int x, int span, int picture_w, int margin);

// The vertical window offset `y` of a picture `picture_h` rows high whose
// bottom edge lands at screen row `bottom` at `zoom` (a negative offset lowers
// the picture, a positive one raises it), moved into the range where every
// screen row from the top down to that edge (or to the screen's bottom) shows a
// row of the picture, `margin` rows above its bottom edge. Where no offset can
// (the picture is too short at this zoom), the one that keeps the bottom.
int clamp_window_y(int y, int picture_h, int bottom, int screen_h, double zoom, int margin);

// The smallest zoom at which a picture w x h, zoomed about its bottom edge at
// screen row `bottom`, covers the screen's width and every row above that edge
// (margins included, in either drawing mode). `with_slack` false leaves out
// the few pixels the draws' rounding and margins take: the geometry alone.
// 0 for a picture without pixels.
double covering_zoom(int picture_w, int picture_h, int bottom, int screen_w, int screen_h, bool with_slack = true);

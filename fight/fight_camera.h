// The fight camera and the facing rule: both read the two fighters (entries 0
// and 1 of lifeform_list) once per fight frame, before the stage is drawn.
#pragma once

class lifeform;
class level;

struct camera_view {
  int scroll_x = 0;   // world x at the screen's left edge (fight_camera: never negative)
  int scroll_y = 0;   // 0 with both fighters on the floor, negative as they rise
  double zoom = 1.0;  // screen width over the width the fighters need
};

// The view for fighters `a` (entry 0) and `b` (entry 1). `level_width` is the
// level's max_width and `level_scale` its scale. A scale of 0 (bad data)
// counts as 1, and a zoom that would not be a positive finite number stays 1.
camera_view fight_camera(const lifeform& a, const lifeform& b, int screen_w, int screen_h, int level_width,
                         double level_scale);

// The smallest zoom fight_camera gives for fighters anywhere in the play
// area (x from 0 to level_width / level_scale): the widest view it asks for.
double widest_camera_zoom(int screen_w, int level_width, double level_scale);

// Writes the view into the level's scroll_x, scroll_y and zoom. Where the
// stage's pictures could not fill the screen at that zoom (they are too small
// for the view), the zoom stops at the smallest one at which they do.
void apply_camera(level& stage, const camera_view& view);

// As above, then, only where that view would cut off part of fighter `a` or
// `b` (standing, in the air, or lying knocked out in their knocked_out
// picture) by more than a pixel or two, the least change that shows both
// whole, clear of the screen's sides and top by fight_view_margin (at the
// stage's ends the view need not reach past the end): the zoom comes down,
// below the one the stage needs to fill the screen if it must (the stage
// then fills the rest with its backdrop: this sets the level's
// fill_uncovered), and the scroll moves. A view that shows both whole is left
// exactly as it is.
void apply_camera(level& stage, const camera_view& view, const lifeform& a, const lifeform& b);

// The furthest the camera zooms in to make the stage's pictures fill the
// screen, as the stage draws it (times the level's scale).
double closest_covering_view(double level_scale);

// Pixels kept between a fighter the camera had to reframe and the screen's
// sides and top (the floor is the screen's bottom edge).
int fight_view_margin(int screen_w, int screen_h);

// Fighters face each other by the centres (x + width) / 2; equal centres keep
// both facings as they are.
void face_each_other(lifeform& a, lifeform& b);

// How the fight plays and shows, from game.ini; set once before the fight.
#pragma once

struct fight_options {
  bool push_apart = false;     // fighters on the floor can't walk through each other
  bool timing_figure = true;   // the frame-timing number at (0, 100)
  bool hit_boxes = true;       // OpenGL mode: the overlap test outlines the boxes it compares
};

void set_fight_options(const fight_options& options);
const fight_options& current_fight_options();

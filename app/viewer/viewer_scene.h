// One fighter on the stage's floor, as the viewer shows it: the posture or
// move chosen, played by the fighter's own draw (or held on a frame), with
// its hit box, the picture's origin and the lines of text about it.
#pragma once
#include <string>
#include <vector>

#include "app/viewer/viewer_controls.h"
#include "app/viewer/viewer_fighter.h"
#include "app/viewer/viewer_overlay.h"

class viewer_scene {
 public:
  viewer_view view;
  viewer_fighter fighter;
  double start_zoom = 1.0;  // the camera zoom a fight starts with, before the viewer's steps

  // Loads the character file and shows posture 0. Needs the level loaded.
  void start(const std::string& char_file);
  // Changes the view, steps frames, reloads the files.
  void command(viewer_command c);
  // Stage, fighter, hit box and origin: one tick (a playing move advances).
  void draw();
  // The lines of text at the top: what is shown, where it comes from, the view.
  std::vector<std::string> info_lines() const;

 private:
  lifeform* shown_ = nullptr;  // the fighter on show (plain or costumed)
  int origin_x_ = 0, origin_y_ = 0;  // where the last drawn picture's top-left landed
  bool origin_known_ = false;

  lifeform* current() { return fighter.shown(view.costume); }
  void show_item();  // puts the fighter in the posture or move of view.item
  void step_frame(int direction);
  void place_and_aim_camera(lifeform& f);
  void draw_fighter(lifeform& f);
  bool slot_present(const lifeform& f, int slot) const;
  int posture_drawn(const lifeform& f) const;  // the posture picture draw will use
};

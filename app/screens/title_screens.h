// The opening of every run: the logo fades in and out, the select screen's
// pictures load meanwhile, the group backdrop fades in; after the select
// screen the title pictures are released. Each fade takes 32 frames at the
// limiter's rate. The main routine owns one title_screens for the whole run.
// A quit request (window closed, SIGTERM, SIGINT) stops a fade after the
// frame it came in, and the loading before the next picture.
#pragma once
#include <string>

#include "gfx/img_mgr.h"

constexpr int title_roster_size = 4;
// Pictures of each roster position (the character files are in fight_setup).
extern const char* const roster_symbol_files[title_roster_size];
extern const char* const roster_action_shot_files[title_roster_size];
extern const char* const logo_file;      // "rsrc\dmk_logo2_640x480.png"
extern const char* const backdrop_file;  // "rsrc\QZ_group_redo_rough_640x480.png"

struct title_screens {
  // Declared in reverse release order: the action shots go first at the end of the run.
  img_mgr logo;
  img_mgr backdrop;
  img_mgr symbols[title_roster_size];       // loaded and released, never drawn
  img_mgr action_shots[title_roster_size];  // roster order
  double logo_scale = 1.0;                  // screen width / logo width
  double backdrop_scale = 1.0;              // screen width / backdrop width, set by the fade-in
  int fps = 60;                             // the rate the title screens run at
  int shot_name_height = 0;                 // rows of each action shot holding the painted name (0: none known)
  std::string menu_backdrop_file;           // the menus' own picture (game.ini's menu_backdrop); empty: none
  bool menu_backdrop_shown = false;         // `backdrop` holds the menus' picture

  void load_logo(int rate);     // loads the logo, sets the rate
  void logo_fade_in();
  void load_select_images();    // while the logo shows
  void logo_fade_out();
  void backdrop_fade_in();
  void close();                 // clear (not after a quit request), unload logo and backdrop, rate back to fps
  // Puts the menus' picture (`for_menu`, when there is one) or the select
  // screen's in `backdrop`, at the opacity the backdrop had.
  void use_backdrop(bool for_menu);

  // The backdrop as every title frame draws it: zoomed to the screen width,
  // its bottom edge on the bottom of the screen.
  void draw_backdrop();
};

// Screen width / picture width, or 1.0 for a picture that did not load.
double width_scale(const img_mgr& picture);

#include "app/screens/title_screens.h"

#include "app/frame_limiter.h"
#include "app/video.h"
#include "core/quit_request.h"

const char* const roster_symbol_files[title_roster_size] = {
    "rsrc\\brela\\brela_symbol.png",
    "rsrc\\kastrell\\kastrell_symbol.png",
    "rsrc\\morvane\\morvane_symbol.png",
    "rsrc\\dravitz\\dravitz_symbol.png",
};
const char* const roster_action_shot_files[title_roster_size] = {
    "rsrc\\brela\\brela_action_shot.png",
    "rsrc\\kastrell\\kastrell_action_shot_ha.png",
    "rsrc\\morvane\\morvane_action_shot.png",
    "rsrc\\dravitz\\dravitz_action_shot.png",
};
const char* const logo_file = "rsrc\\dmk_logo2_640x480.png";
const char* const backdrop_file = "rsrc\\QZ_group_redo_rough_640x480.png";

namespace {

const int fade_frames = 32;

void draw_bottom_aligned(img_mgr& picture, double scale) {
  SDL_Surface* screen = g_video.screen;
  picture.draw_zoomed(0, screen->h - picture.get_height(), screen, scale);
}

// Presents and waits; false when the player asked to quit (the fade stops
// after this frame).
bool show_frame() {
  g_video.present();
  limiter().delay();
  return !poll_quit_request();
}

}  // namespace

double width_scale(const img_mgr& picture) {
  if (!g_video.screen || picture.get_width() <= 0) return 1.0;
  return static_cast<double>(g_video.screen->w) / picture.get_width();
}

void title_screens::load_logo(int rate) {
  fps = rate;
  logo.load(logo_file);
  limiter().set_rate(fps);
}

void title_screens::logo_fade_in() {
  g_video.clear_screen();
  logo.set_alpha(24);
  logo.no_zoom_cache = 1;  // drawn at many opacities; nothing should pile up
  logo_scale = width_scale(logo);
  // No clearing between frames: the faint draws build the picture up.
  for (int frame = 0; frame < fade_frames; ++frame) {
    draw_bottom_aligned(logo, logo_scale);
    if (!show_frame()) return;
  }
}

void title_screens::load_select_images() {
  for (int i = 0; i < title_roster_size; ++i) {
    if (poll_quit_request()) return;
    symbols[i].load(roster_symbol_files[i]);
    symbols[i].upload();
    action_shots[i].load(roster_action_shot_files[i]);
    action_shots[i].upload();
  }
  backdrop.load(backdrop_file);
  backdrop.set_alpha(16);
  menu_backdrop_shown = false;
}

void title_screens::use_backdrop(bool for_menu) {
  const bool menu_picture = for_menu && !menu_backdrop_file.empty();
  if (menu_picture == menu_backdrop_shown) return;
  const uint32_t alpha = backdrop.alpha;
  backdrop.unload();
  backdrop.load(menu_picture ? menu_backdrop_file.c_str() : backdrop_file);
  backdrop.set_alpha(alpha);
  backdrop_scale = width_scale(backdrop);
  menu_backdrop_shown = menu_picture;
}

void title_screens::logo_fade_out() {
  for (int a = 255; a > 0; a -= 8) {
    g_video.clear_screen();
    logo.set_alpha(static_cast<uint32_t>(a));
    draw_bottom_aligned(logo, logo_scale);
    if (!show_frame()) return;
  }
}

void title_screens::backdrop_fade_in() {
  backdrop.set_alpha(24);
  backdrop_scale = width_scale(backdrop);
  for (int frame = 0; frame < fade_frames; ++frame) {
    draw_backdrop();
    if (!show_frame()) return;
  }
}

void title_screens::draw_backdrop() { draw_bottom_aligned(backdrop, backdrop_scale); }

void title_screens::close() {
  // After a quit request nothing more is shown.
  if (!quit_requested()) {
    g_video.clear_screen();
    g_video.present();
  }
  logo.unload();
  backdrop.unload();
  limiter().set_rate(fps);
}

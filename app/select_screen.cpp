#include "app/select_screen.h"

#include <cmath>

#include "app/frame_limiter.h"
#include "app/title_screens.h"
#include "app/video.h"
#include "core/seams.h"
#include "gfx/img_internal.h"

namespace {

const float degrees_to_radians = 0.0174532924f;  // single precision, as the circling has always used
const int axis_threshold = 17000;

void draw_shot_with_copies(img_mgr& shot, int rotation) {
  SDL_Surface* screen = g_video.screen;
  const int x = screen->w - shot.get_width() - 40;
  const int y = (screen->h - shot.get_height()) / 2;
  int a = rotation;
  for (int copy = 0; copy < 4; ++copy) {
    const float radians = static_cast<float>(a) * degrees_to_radians;
    shot.set_alpha(128);
    shot.draw(trunc_to_int(x + 40 * std::cos(radians)), trunc_to_int(y + 40 * std::sin(radians)));
    a += 90;
  }
  shot.set_alpha(255);
  shot.draw(x, y);
}

}  // namespace

bool select_samples_input(int rotation, int fps) {
  const int period = 4 * fps;
  return period > 0 ? rotation % period == 0 : true;
}

void select_sample_input(select_state& state, const SDL_Event* event) {
  if (g_video.joystick_ok == 1) {
    for (int b = 0; b < 4; ++b) {
      if (joy_button(b)) state.done = 1;
    }
    const int axis = joy_axis(0);
    if (axis > axis_threshold) state.selection += 1;
    if (axis < -axis_threshold) state.selection -= 1;
  }
  if (event && event->type == SDL_QUIT) state.done = 1;  // closing the window confirms the cursor
  const Uint8* keys = key_state();
  if (keys[SDLK_q] || keys[SDLK_ESCAPE]) {
    state.quit = 1;
    state.done = 1;
  }
  if (keys[SDLK_SPACE] || keys[SDLK_RETURN]) state.done = 1;
  if (keys[SDLK_RIGHT]) state.selection += 1;
  if (keys[SDLK_LEFT]) state.selection -= 1;
  if (state.selection < 0) {
    state.selection = 3;
  } else if (state.selection > 3) {
    state.selection = 0;
  }
}

select_result run_select_screen(title_screens& titles, int fps) {
  limiter().set_rate(4 * fps);
  titles.backdrop.set_alpha(255);
  select_state state;
  while (!state.done) {
    g_video.clear_screen();
    titles.draw_backdrop();
    draw_shot_with_copies(titles.action_shots[state.selection], state.rotation);
    if (select_samples_input(state.rotation, fps)) {
      SDL_Event event;
      const bool took = SDL_PollEvent(&event) == 1;
      select_sample_input(state, took ? &event : nullptr);
    }
    state.rotation += 8;
    if (state.rotation >= 360) state.rotation = 0;
    limiter().delay();
    g_video.present();
  }
  leave_select_screen(titles, true);
  return {state.selection, state.quit};
}

void leave_select_screen(title_screens& titles, bool fade) {
  if (fade) {
    for (int a = 255; a > 0; a -= 8) {
      g_video.clear_screen();
      titles.backdrop.set_alpha(static_cast<uint32_t>(a));
      titles.draw_backdrop();
      g_video.present();
      limiter().delay();
    }
  }
  for (int i = 0; i < title_roster_size; ++i) {
    titles.action_shots[i].unload();
    titles.symbols[i].unload();
  }
}

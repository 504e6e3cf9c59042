#include "app/select_screen.h"

#include <cmath>

#include "app/frame_limiter.h"
#include "app/title_screens.h"
#include "app/video.h"
#include "core/quit_request.h"
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

int input_for_key(SDLKey key) {
  switch (key) {
    case SDLK_LEFT: return select_left;
    case SDLK_RIGHT: return select_right;
    case SDLK_RETURN: return select_return;
    case SDLK_SPACE: return select_space;
    case SDLK_q: return select_q;
    case SDLK_ESCAPE: return select_escape;
    default: return -1;
  }
}

// Key and button presses made before the screen opened (during the title
// fades) are not carried into it; keys still held when it opens count.
void drop_earlier_presses() {
  SDL_PumpEvents();
  SDL_Event dropped;
  const Uint32 presses = SDL_KEYDOWNMASK | SDL_KEYUPMASK | SDL_JOYBUTTONDOWNMASK | SDL_JOYBUTTONUPMASK;
  while (SDL_PeepEvents(&dropped, 1, SDL_GETEVENT, presses) == 1) {
  }
}

}  // namespace

void select_take_events(select_events& events) {
  SDL_Event event;
  while (SDL_PollEvent(&event) == 1) {
    note_taken_event(event);
    if (event.type == SDL_KEYDOWN) {
      const int input = input_for_key(event.key.keysym.sym);
      if (input >= 0) events.presses[input] += 1;
    } else if (event.type == SDL_JOYBUTTONDOWN && event.jbutton.which == 0 && event.jbutton.button < 4) {
      events.presses[select_joy_button0 + event.jbutton.button] += 1;
    }
  }
}

void select_apply_input(select_state& state, const select_events& events, Uint32 now) {
  bool held[select_input_count] = {};
  const Uint8* keys = key_state();
  held[select_left] = keys[SDLK_LEFT] != 0;
  held[select_right] = keys[SDLK_RIGHT] != 0;
  held[select_return] = keys[SDLK_RETURN] != 0;
  held[select_space] = keys[SDLK_SPACE] != 0;
  held[select_q] = keys[SDLK_q] != 0;
  held[select_escape] = keys[SDLK_ESCAPE] != 0;
  const bool joystick = g_video.joystick_ok == 1;
  if (joystick) {
    const int axis = joy_axis(0);
    held[select_axis_left] = axis < -axis_threshold;
    held[select_axis_right] = axis > axis_threshold;
    for (int b = 0; b < 4; ++b) held[select_joy_button0 + b] = joy_button(b) != 0;
  }
  int presses[select_input_count];
  for (int i = 0; i < select_input_count; ++i) {
    const bool joystick_input = i >= select_axis_left;
    const int taken = joystick_input && !joystick ? 0 : events.presses[i];
    presses[i] = state.inputs[i].update(held[i], taken, now);
  }

  int joystick_confirms = 0;
  for (int b = 0; b < 4; ++b) joystick_confirms += presses[select_joy_button0 + b];
  if (joystick_confirms || presses[select_return] || presses[select_space]) state.done = 1;
  if (presses[select_q] || presses[select_escape]) {
    state.quit = 1;
    state.done = 1;
  }
  const int steps = presses[select_right] + presses[select_axis_right] - presses[select_left] -
                    presses[select_axis_left];
  state.selection = ((state.selection + steps) % 4 + 4) % 4;
}

select_result run_select_screen(title_screens& titles, int fps) {
  limiter().set_rate(4 * fps);
  titles.backdrop.set_alpha(255);
  drop_earlier_presses();
  select_state state;
  while (!state.done) {
    g_video.clear_screen();
    titles.draw_backdrop();
    draw_shot_with_copies(titles.action_shots[state.selection], state.rotation);
    select_events events;
    select_take_events(events);
    select_apply_input(state, events, game_ticks());
    if (poll_quit_request()) {
      state.quit = 1;
      state.done = 1;
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
    for (int a = 255; a > 0 && !poll_quit_request(); a -= 8) {
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

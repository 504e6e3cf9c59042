#include "app/screens/select_screen.h"

#include <algorithm>
#include <cmath>

#include "app/fight/fight_text.h"
#include "app/fight/hud_scale.h"
#include "app/frame_limiter.h"
#include "app/screens/title_screens.h"
#include "app/video.h"
#include "core/quit_request.h"
#include "core/seams.h"
#include "gfx/img_internal.h"
#include "gfx/screen_clip.h"

namespace {

const float degrees_to_radians = 0.0174532924f;  // single precision, as the circling has always used
const int axis_threshold = 17000;
const int max_clip_row = 1 << 20;  // past any screen's bottom

}  // namespace

void draw_select_shot(img_mgr& shot, int x, int y, int rotation, bool circling, int name_height) {
  int a = rotation;
  for (int copy = 0; circling && copy < 4; ++copy) {
    const float radians = static_cast<float>(a) * degrees_to_radians;
    const int copy_x = trunc_to_int(x + 40 * std::cos(radians));
    const int copy_y = trunc_to_int(y + 40 * std::sin(radians));
    shot.set_alpha(128);
    if (name_height <= 0) {
      shot.draw(copy_x, copy_y);
    } else {
      // Neither the copy's own name nor anything over the shot's: a copy
      // risen above the shot shows between the two names, and below both.
      if (copy_y + name_height < y) {
        screen_rows_clip between(copy_y + name_height, y);
        shot.draw(copy_x, copy_y);
      }
      screen_rows_clip below(std::max(copy_y, y) + name_height, max_clip_row);
      shot.draw(copy_x, copy_y);
    }
    a += 90;
  }
  shot.set_alpha(255);
  shot.draw(x, y);
}

namespace {

// The label under a shot, centred on it, near the bottom of the screen: the
// backdrop's own title fills the top.
void draw_label(const char* label, int x, int shot_width) {
  int w = 0, h = 0;
  fight_text_size(label, w, h);
  draw_fight_text(x + (shot_width - w) / 2, g_video.screen->h - h - hud_px(12), label);
}

// The first player's cursor at the right, as it has always been; a second
// player's at the left, each named once a second player has joined.
void draw_cursors(title_screens& titles, const select_state& state) {
  SDL_Surface* screen = g_video.screen;
  img_mgr& first = titles.action_shots[state.selection];
  const int first_x = screen->w - first.get_width() - 40;
  const int first_y = (screen->h - first.get_height()) / 2;
  draw_select_shot(first, first_x, first_y, state.rotation, !state.first_ready, titles.shot_name_height);
  if (!state.second.joined) return;
  img_mgr& second = titles.action_shots[state.second.selection];
  const int second_x = 40;
  const int second_y = (screen->h - second.get_height()) / 2;
  draw_select_shot(second, second_x, second_y, state.rotation, !state.second.ready, titles.shot_name_height);
  draw_label("Player 1", first_x, first.get_width());
  draw_label("Player 2", second_x, second.get_width());
}

int input_for_key(SDLKey key) {
  switch (key) {
    case SDLK_LEFT: return select_left;
    case SDLK_RIGHT: return select_right;
    case SDLK_RETURN: return select_return;
    case SDLK_SPACE: return select_space;
    case SDLK_q: return select_q;
    case SDLK_ESCAPE: return select_escape;
    case SDLK_TAB: return select_tab;
    case SDLK_a: return select_a;
    case SDLK_d: return select_d;
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
    } else if (event.type == SDL_JOYBUTTONDOWN && event.jbutton.which <= 1 && event.jbutton.button < 4) {
      const int first_button = event.jbutton.which == 0 ? select_joy_button0 : select_second_joy_button0;
      events.presses[first_button + event.jbutton.button] += 1;
    }
  }
}

namespace {

bool is_joystick_input(int input) {
  return (input >= select_axis_left && input < select_joy_button0 + 4) || input >= select_second_axis_left;
}

int wrapped(int selection, int steps) { return ((selection + steps) % 4 + 4) % 4; }

// The first Tab or joystick 1 button joins the second player; the next confirms.
void apply_second_player(select_second_player& second, const int presses[]) {
  int buttons = presses[select_tab];
  for (int b = 0; b < 4; ++b) buttons += presses[select_second_joy_button0 + b];
  if (!second.joined) {
    if (buttons) second.joined = 1;
    return;
  }
  if (second.ready) return;
  const int steps = presses[select_d] + presses[select_second_axis_right] - presses[select_a] -
                    presses[select_second_axis_left];
  second.selection = wrapped(second.selection, steps);
  if (buttons) second.ready = 1;
}

}  // namespace

void select_apply_input(select_state& state, const select_events& events, Uint32 now) {
  bool held[select_input_count] = {};
  const Uint8* keys = key_state();
  held[select_left] = keys[SDLK_LEFT] != 0;
  held[select_right] = keys[SDLK_RIGHT] != 0;
  held[select_return] = keys[SDLK_RETURN] != 0;
  held[select_space] = keys[SDLK_SPACE] != 0;
  held[select_q] = keys[SDLK_q] != 0;
  held[select_escape] = keys[SDLK_ESCAPE] != 0;
  held[select_tab] = keys[SDLK_TAB] != 0;
  held[select_a] = keys[SDLK_a] != 0;
  held[select_d] = keys[SDLK_d] != 0;
  const bool joystick = g_video.joystick_ok == 1;
  if (joystick) {
    for (int stick = 0; stick < 2; ++stick) {
      const int axis = joy_axis_of(stick, 0);
      const int base = stick == 0 ? select_axis_left : select_second_axis_left;
      held[base] = axis < -axis_threshold;
      held[base + 1] = axis > axis_threshold;
      const int buttons = stick == 0 ? select_joy_button0 : select_second_joy_button0;
      for (int b = 0; b < 4; ++b) held[buttons + b] = joy_button_of(stick, b) != 0;
    }
  }
  int presses[select_input_count];
  for (int i = 0; i < select_input_count; ++i) {
    const int taken = is_joystick_input(i) && !joystick ? 0 : events.presses[i];
    presses[i] = state.inputs[i].update(held[i], taken, now);
  }

  // Joining first, so a second player who joins in the frame the first
  // confirms is still waited for.
  if (!state.solo) apply_second_player(state.second, presses);

  int joystick_confirms = 0;
  for (int b = 0; b < 4; ++b) joystick_confirms += presses[select_joy_button0 + b];
  const bool confirmed = joystick_confirms || presses[select_return] || presses[select_space];
  if (!state.first_ready) {
    const int steps = presses[select_right] + presses[select_axis_right] - presses[select_left] -
                      presses[select_axis_left];
    state.selection = wrapped(state.selection, steps);
    if (confirmed) {
      if (state.second.joined) state.first_ready = 1;
      else state.done = 1;
    }
  }
  if (state.first_ready && state.second.ready) state.done = 1;
  if (presses[select_q] || presses[select_escape]) {
    state.quit = 1;
    state.done = 1;
  }
}

select_result run_select_screen(title_screens& titles, int fps, bool solo, const char* caption,
                                const std::function<bool()>& each_frame) {
  limiter().set_rate(4 * fps);
  titles.backdrop.set_alpha(255);
  drop_earlier_presses();
  select_state state;
  state.solo = solo;
  while (!state.done) {
    g_video.clear_screen();
    titles.draw_backdrop();
    draw_cursors(titles, state);
    if (caption) {
      int w = 0, h = 0;
      fight_text_size(caption, w, h);
      draw_fight_text(g_video.screen->w / 2 - w / 2, g_video.screen->h - 2 * h, caption);
    }
    select_events events;
    select_take_events(events);
    select_apply_input(state, events, game_ticks());
    if (poll_quit_request() || (each_frame && !each_frame())) {
      state.quit = 1;
      state.done = 1;
    }
    state.rotation += 8;
    if (state.rotation >= 360) state.rotation = 0;
    limiter().delay();
    g_video.present();
  }
  leave_select_screen(titles, true);
  return {state.selection, state.quit, state.second.joined ? state.second.selection : -1};
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

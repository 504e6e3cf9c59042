// The character select screen: the backdrop, the action shot under the
// cursor circled by four half-transparent copies of itself, and the cursor
// moved with the arrow keys or joystick 0. It runs at four times the fight's
// rate and reads input every frame: each press moves the cursor one place or
// confirms, however short; a held direction repeats at a readable rate.
// A second player joins with Tab or a button of joystick 1, gets a cursor of
// their own at the left (a and d, or joystick 1) and confirms with Tab or a
// button again; the screen then ends when both have confirmed.
#pragma once
#include <SDL.h>

#include <functional>

#include "app/screens/button_presses.h"

struct title_screens;
class img_mgr;

// An action shot at (x, y); while its player is still choosing, circled by
// four half-transparent copies of itself. With `name_height` > 0 (the rows
// at the top of the shot where the fighter's name is painted) the copies are
// drawn only below their own name band and below the shot's, so the trail
// never smears the name.
void draw_select_shot(img_mgr& shot, int x, int y, int rotation, bool circling, int name_height);

// The inputs the screen listens to.
enum select_input {
  select_left,           // SDLK_LEFT
  select_right,          // SDLK_RIGHT
  select_return,         // SDLK_RETURN: confirm
  select_space,          // SDLK_SPACE: confirm
  select_q,              // q: quit
  select_escape,         // SDLK_ESCAPE: quit
  select_axis_left,      // joystick 0, axis 0 below -17000
  select_axis_right,     // joystick 0, axis 0 above 17000
  select_joy_button0,    // joystick 0, buttons 0..3: confirm
  select_tab = select_joy_button0 + 4,  // SDLK_TAB: the second player joins, then confirms
  select_a,              // a: second cursor left
  select_d,              // d: second cursor right
  select_second_axis_left,    // joystick 1, axis 0 below -17000
  select_second_axis_right,   // joystick 1, axis 0 above 17000
  select_second_joy_button0,  // joystick 1, buttons 0..3: join, then confirm
  select_input_count = select_second_joy_button0 + 4,
};

struct select_second_player {
  int joined = 0;     // 1 once Tab or a button of joystick 1 was pressed
  int selection = 0;  // roster position under the second cursor, 0..3
  int ready = 0;      // 1 once confirmed; the cursor then stays
};

struct select_state {
  int selection = 0;  // roster position under the cursor, 0..3
  int rotation = 0;   // angle of the circling copies, degrees, 0..352 in steps of 8
  int done = 0;       // the screen ends after the frame in which this became 1
  int quit = 0;       // the player asked to end the program
  int first_ready = 0;  // with a second player: the first has confirmed and waits
  bool solo = false;    // nobody may join (an arcade run is played alone)
  select_second_player second;
  button_presses inputs[select_input_count];  // press and repeat tracking, by select_input
};

// Press events taken off the queue in one frame, by select_input.
struct select_events {
  int presses[select_input_count] = {};
};

struct select_result {
  int selection;  // roster position picked, 0..3
  int quit;       // 1: end the run without a fight
  int second_player = -1;  // roster position the second player picked; -1: no second player
  bool arcade = false;     // the main menu's Arcade: the picked fighter meets every other in turn
  bool training = false;   // the main menu's Training: second_player is the dummy
  bool online = false;     // the main menu's Online: a session to host or join
};

// Takes every queued event: an SDL_QUIT is recorded as a quit request, key
// presses and the button presses of joysticks 0 and 1 are counted into `events`.
void select_take_events(select_events& events);

// One frame of input: the press events taken this frame, the keyboard seam,
// joysticks 0 and 1 (when video's joystick_ok is 1) and `now` in game ticks.
// Moves each cursor one place per press or repeat (wrapping round the
// roster), joins the second player, confirms, or quits.
void select_apply_input(select_state& state, const select_events& events, Uint32 now);

// Runs the screen until the player confirms or quits, fades the backdrop out
// and unloads the eight roster pictures. The titles' backdrop has been faded
// in. A quit request (window closed, SIGTERM, SIGINT) ends the screen after
// its frame, as a quit, without the fade.
// With `solo` no second player can join. A `caption` is shown centred at the
// top (training's "Choose the dummy").
// `each_frame`, when given, runs once a frame before the picture is shown
// (it may draw over it); when it returns false the screen ends at once, as a
// quit (an online session that ended while the player was choosing).
select_result run_select_screen(title_screens& titles, int fps, bool solo = false, const char* caption = nullptr,
                                const std::function<bool()>& each_frame = nullptr);

// What the screen does after its loop: the backdrop fades out (32 frames,
// cut short by a quit request) and the roster pictures are unloaded. Also
// used when --fighter skips the loop.
void leave_select_screen(title_screens& titles, bool fade);

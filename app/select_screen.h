// The character select screen: the backdrop, the action shot under the
// cursor circled by four half-transparent copies of itself, and the cursor
// moved with the arrow keys or joystick 0. It runs at four times the fight's
// rate and samples input only on a few frames, so the cursor cannot race.
#pragma once
#include <SDL.h>

struct title_screens;

struct select_state {
  int selection = 0;  // roster position under the cursor, 0..3
  int rotation = 0;   // angle of the circling copies, degrees, 0..352 in steps of 8
  int done = 0;       // the screen ends after the frame in which this became 1
  int quit = 0;       // the player asked to end the program
};

struct select_result {
  int selection;  // roster position picked, 0..3
  int quit;       // 1: end the run without a fight
};

// One input sample: `event` is the event taken this frame, or null when none.
// Reads joystick 0 (when video's joystick_ok is 1) and the keyboard seam.
void select_sample_input(select_state& state, const SDL_Event* event);

// Whether this frame samples input: rotation (before it advances) is an exact
// multiple of 4 x fps.
bool select_samples_input(int rotation, int fps);

// Runs the screen until the player confirms or quits, fades the backdrop out
// and unloads the eight roster pictures. The titles' backdrop has been faded in.
select_result run_select_screen(title_screens& titles, int fps);

// What the screen does after its loop: the backdrop fades out (32 frames) and
// the roster pictures are unloaded. Also used when --fighter skips the loop.
void leave_select_screen(title_screens& titles, bool fade);

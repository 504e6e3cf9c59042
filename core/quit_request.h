// The player's request to end the run: the window was closed, or SIGTERM or
// SIGINT arrived (SDL turns each into an SDL_QUIT event). Whoever takes an
// SDL_QUIT off the queue records it here, and every loop of the game asks
// here once a frame, so a quit is never lost to a loop that was not looking.
// Once requested it stays requested for the rest of the run.
#pragma once
#include <SDL.h>

// Installs an SDL event filter that records every SDL_QUIT as SDL queues it,
// even when the queue (128 events) is full and would drop it. Call once SDL
// runs; calling again is harmless.
void watch_quit_requests();

// From now on a hang-up (SIGHUP: the terminal closed) is a quit request, as
// SDL makes SIGTERM and SIGINT one: the run ends after its frame and writes
// what it writes at its end. Call once, at start-up.
void treat_hangup_as_quit_request();

// From now on a press of Escape on the real keyboard is a quit request too
// (a replay being watched, whose keys come from its file, ends on Escape).
void treat_escape_as_quit_request();

// Records `event` when it is an SDL_QUIT; other events are left to the caller.
void note_taken_event(const SDL_Event& event);

// Pumps SDL's events and takes every SDL_QUIT out of the queue, leaving the
// other events in their order; true once a quit has been requested.
bool poll_quit_request();

// The record only; nothing is pumped.
bool quit_requested();

// For tests, which run several games in one process.
void forget_quit_request();

#include "core/quit_request.h"

#include <signal.h>

#include <csignal>

namespace {

// Written from SDL's event filter, which may run wherever SDL pumps events.
volatile std::sig_atomic_t requested = 0;
volatile std::sig_atomic_t escape_quits = 0;

int record_quit(const SDL_Event* event) {
  if (event && event->type == SDL_QUIT) requested = 1;
  if (event && escape_quits && event->type == SDL_KEYDOWN && event->key.keysym.sym == SDLK_ESCAPE) requested = 1;
  return 1;  // every event still goes into the queue
}

void record_hangup(int) { requested = 1; }

}  // namespace

void watch_quit_requests() { SDL_SetEventFilter(record_quit); }

void treat_hangup_as_quit_request() {
  struct sigaction action = {};
  action.sa_handler = record_hangup;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGHUP, &action, nullptr);
}

void treat_escape_as_quit_request() { escape_quits = 1; }

void note_taken_event(const SDL_Event& event) { record_quit(&event); }

bool poll_quit_request() {
  SDL_PumpEvents();
  SDL_Event taken;
  while (SDL_PeepEvents(&taken, 1, SDL_GETEVENT, SDL_QUITMASK) == 1) requested = 1;
  return requested != 0;
}

bool quit_requested() { return requested != 0; }

void forget_quit_request() { requested = 0; }

// A close request is recorded even when SDL's event queue is full and drops it.
#include <gtest/gtest.h>

#include <csignal>

#include "core/quit_request.h"
#include "support/test_env.h"

TEST(QuitRequest, ASignalIsRecordedWhenTheQueueIsFull) {
  ensure_video();
  struct sigaction current = {};
  sigaction(SIGTERM, nullptr, &current);
  if (current.sa_handler == SIG_DFL || current.sa_handler == SIG_IGN) {
    GTEST_SKIP() << "SDL has not taken over SIGTERM here";
  }
  watch_quit_requests();
  forget_quit_request();
  int pushed = 0;
  for (int k = 0; k < 1000; ++k) {
    SDL_Event key = {};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_a;
    if (SDL_PushEvent(&key) != 0) break;
    ++pushed;
  }
  ASSERT_LT(pushed, 1000);  // the queue is full
  std::raise(SIGTERM);      // SDL turns it into SDL_QUIT at the next pump, and drops it
  EXPECT_TRUE(poll_quit_request());
  SDL_Event e;
  while (SDL_PollEvent(&e) == 1) {
  }
  forget_quit_request();
}

// The fight takes one event a frame; a close request queued behind key events
// is found at once, and the key events stay queued, in order, for the paths.
TEST(QuitRequest, AQuitBehindKeyEventsIsFoundAndTheKeysStay) {
  ensure_video();
  SDL_EventFilter saved = SDL_GetEventFilter();
  SDL_SetEventFilter(nullptr);  // only the queue can tell
  forget_quit_request();
  SDL_Event e;
  while (SDL_PollEvent(&e) == 1) {
  }
  for (int k = 0; k < 3; ++k) {
    SDL_Event key = {};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = static_cast<SDLKey>(SDLK_a + k);
    ASSERT_EQ(0, SDL_PushEvent(&key));
  }
  SDL_Event close = {};
  close.type = SDL_QUIT;
  ASSERT_EQ(0, SDL_PushEvent(&close));

  EXPECT_TRUE(poll_quit_request());
  for (int k = 0; k < 3; ++k) {
    ASSERT_EQ(1, SDL_PollEvent(&e)) << k;
    EXPECT_EQ(SDL_KEYDOWN, e.type);
    EXPECT_EQ(SDLK_a + k, e.key.keysym.sym);
  }
  EXPECT_EQ(0, SDL_PollEvent(&e));
  forget_quit_request();
  SDL_SetEventFilter(saved);
}

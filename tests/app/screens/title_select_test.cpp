// Title fades and the select screen, driven through the video's present hook
// and the keyboard and joystick seams, on pictures written by the test.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "app/fight/fight_text.h"
#include "app/frame_limiter.h"
#include "app/screens/select_screen.h"
#include "app/screens/title_screens.h"
#include "app/video.h"
#include "core/quit_request.h"
#include "core/seams.h"
#include "gfx/picture_files.h"
#include "support/test_env.h"

namespace {

long frames = 0;
void (*on_frame)(long) = nullptr;  // called after each present with the frames shown so far
void count_frame() {
  ++frames;
  if (on_frame) on_frame(frames);
}

Sint16 axis_value = 0;
Sint16 scripted_axis(int) { return axis_value; }
int button_held = -1;  // joystick button held, -1 none
int scripted_button(int b) { return b == button_held ? 1 : 0; }
Sint16 second_axis_value = 0;  // joystick 1
Sint16 scripted_second_axis(int) { return second_axis_value; }
int second_button_held = -1;
int scripted_second_button(int b) { return b == second_button_held ? 1 : 0; }

// The select screen runs at 200 frames a second (4 x 60, held at the limiter's maximum).
Uint32 five_ms_frames() { return static_cast<Uint32>(frames * 5); }

void push_key(SDLKey key, bool down) {
  SDL_Event e = {};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = key;
  SDL_PushEvent(&e);
}

// Five presses of keys no screen listens to, then the close request behind them.
void push_keys_then_quit() {
  for (int k = 0; k < 5; ++k) push_key(static_cast<SDLKey>(SDLK_a + k), true);
  SDL_Event quit = {};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
}

int queued_events() {
  SDL_PumpEvents();
  SDL_Event peeked[128];
  return SDL_PeepEvents(peeked, 128, SDL_PEEKEVENT, SDL_ALLEVENTS);
}

void forget_events_and_quit() {
  SDL_Event e;
  while (SDL_PollEvent(&e) == 1) {
  }
  forget_quit_request();
}

// Places the cursor moved over frames of 5 ms, `key` (an SDL key, or -1 for
// joystick 0's axis pushed right) held from frame 0 for `hold_ms`, then 1 s
// released.
int moves_while_holding(int key, int hold_ms) {
  select_state s;
  int moves = 0;
  for (int ms = 0; ms < hold_ms + 1000; ms += 5) {
    const bool held = ms < hold_ms;
    if (key >= 0) scripted_keys()[key] = held ? 1 : 0;
    axis_value = key < 0 && held ? 20000 : 0;
    const int before = s.selection;
    select_apply_input(s, select_events(), static_cast<Uint32>(1000 + ms));
    moves += key == SDLK_LEFT ? (before - s.selection + 4) % 4 : (s.selection - before + 4) % 4;
  }
  return moves;
}

rgba solid(uint8_t r, uint8_t g, uint8_t b) { return {r, g, b, 255}; }

class TitleSelect : public testing::Test {
 protected:
  void SetUp() override {
    ensure_video();
    dir = make_temp_dir("titles");
    write_picture(dir, "rsrc/dmk_logo2_640x480.png", 320, 240, [](int, int) { return solid(200, 10, 10); });
    write_picture(dir, "rsrc/QZ_group_redo_rough_640x480.png", 320, 200, [](int, int) { return solid(10, 10, 200); });
    for (int i = 0; i < title_roster_size; ++i) {
      std::string symbol = roster_symbol_files[i], shot = roster_action_shot_files[i];
      for (std::string* s : {&symbol, &shot}) std::replace(s->begin(), s->end(), '\\', '/');
      write_picture(dir, symbol, 8, 8, [](int, int) { return solid(1, 2, 3); });
      write_picture(dir, shot, 60, 80, [i](int, int) { return solid(50, static_cast<uint8_t>(60 * i), 50); });
    }
    previous_dir = std::filesystem::current_path().string();
    ASSERT_EQ(chdir(dir.c_str()), 0);
    limiter().set_enabled(false);
    frames = 0;
    on_frame = nullptr;
    g_video.after_present = count_frame;
    use_scripted_keys();
    std::fill(scripted_keys(), scripted_keys() + SDLK_LAST, 0);
    seams().ticks = five_ms_frames;
    seams().joy_axis = scripted_axis;
    seams().joy_button = scripted_button;
    axis_value = 0;
    button_held = -1;
    second_axis_value = 0;
    second_button_held = -1;
    forget_events_and_quit();
  }
  void TearDown() override {
    forget_events_and_quit();
    g_video.after_present = nullptr;
    g_video.joystick_ok = 0;
    reset_seams();
    limiter().set_enabled(true);
    ASSERT_EQ(chdir(previous_dir.c_str()), 0);
  }
  void through_backdrop_fade_in(title_screens& t) {
    t.load_logo(60);
    t.logo_fade_in();
    t.load_select_images();
    t.logo_fade_out();
    t.backdrop_fade_in();
  }
  std::string dir, previous_dir;
};

}  // namespace

TEST_F(TitleSelect, EachFadeTakes32Frames) {
  title_screens t;
  t.load_logo(60);
  EXPECT_EQ(t.logo.get_width(), 320);
  EXPECT_EQ(limiter().rate(), 60);
  t.logo_fade_in();
  EXPECT_EQ(frames, 32);
  EXPECT_DOUBLE_EQ(t.logo_scale, 2.0);
  EXPECT_EQ(t.logo.no_zoom_cache, 1u);
  // The logo fills the screen width with its bottom edge on the bottom of the screen.
  EXPECT_GT(pixel_at(g_video.screen, 639, 479).r, 0);
  t.load_select_images();
  EXPECT_EQ(frames, 32);  // nothing drawn while loading
  EXPECT_EQ(t.backdrop.alpha, 16u);
  t.logo_fade_out();
  EXPECT_EQ(frames, 64);
  EXPECT_EQ(t.logo.alpha, 7u);  // the last frame drew alpha 7
  t.backdrop_fade_in();
  EXPECT_EQ(frames, 96);
  EXPECT_DOUBLE_EQ(t.backdrop_scale, 2.0);
  EXPECT_GT(pixel_at(g_video.screen, 5, 479).b, 0);
  EXPECT_EQ(pixel_at(g_video.screen, 5, 79).b, 0);  // 200 high at scale 2: rows 80..479
}

TEST_F(TitleSelect, APressMovesOnePlaceAndAHeldDirectionRepeatsFourASecond) {
  EXPECT_EQ(moves_while_holding(SDLK_RIGHT, 5), 1);    // one frame
  EXPECT_EQ(moves_while_holding(SDLK_RIGHT, 250), 1);  // before the first repeat (400 ms)
  // 0, 400, 650, 900, 1150, 1400, 1650, 1900 ms
  EXPECT_EQ(moves_while_holding(SDLK_RIGHT, 2000), 8);
  EXPECT_EQ(moves_while_holding(SDLK_LEFT, 2000), 8);
  g_video.joystick_ok = 1;
  EXPECT_EQ(moves_while_holding(-1, 2000), 8);

  // Quick taps, one frame down and one up: every one moves.
  select_state s;
  int moves = 0;
  for (int f = 0; f < 20; ++f) {
    scripted_keys()[SDLK_RIGHT] = f % 2 == 0;
    const int before = s.selection;
    select_apply_input(s, select_events(), static_cast<Uint32>(5 * f));
    moves += (s.selection - before + 4) % 4;
  }
  EXPECT_EQ(moves, 10);
  EXPECT_EQ(s.done, 0);
}

TEST_F(TitleSelect, OneFrameOfAConfirmOrQuitKeyIsEnough) {
  g_video.joystick_ok = 1;
  for (int key : {static_cast<int>(SDLK_RETURN), static_cast<int>(SDLK_SPACE), static_cast<int>(SDLK_q),
                  static_cast<int>(SDLK_ESCAPE), -1}) {
    SCOPED_TRACE(key);
    select_state s;
    select_apply_input(s, select_events(), 0);
    if (key >= 0) scripted_keys()[key] = 1;
    button_held = key < 0 ? 2 : -1;
    select_apply_input(s, select_events(), 5);
    scripted_keys()[key >= 0 ? key : 0] = 0;
    button_held = -1;
    EXPECT_EQ(s.done, 1);
    EXPECT_EQ(s.quit, key == SDLK_q || key == SDLK_ESCAPE ? 1 : 0);
    EXPECT_EQ(s.selection, 0);
  }
}

TEST_F(TitleSelect, KeyAndAxisTogetherMoveTwoPlaces) {
  g_video.joystick_ok = 1;
  axis_value = 20000;
  scripted_keys()[SDLK_RIGHT] = 1;
  select_state s;
  s.selection = 3;
  select_apply_input(s, select_events(), 0);  // two presses from 3: 0, then 1
  EXPECT_EQ(s.selection, 1);
  axis_value = -17000;  // not beyond the threshold
  scripted_keys()[SDLK_RIGHT] = 0;
  select_apply_input(s, select_events(), 5);
  EXPECT_EQ(s.selection, 1);
}

// Presses shorter than a frame arrive only as key events; a press seen both as
// an event and in the key state is one press.
TEST_F(TitleSelect, TheScreenCountsEveryPressOnce) {
  title_screens t;
  through_backdrop_fade_in(t);
  frames = 0;
  on_frame = [](long n) {
    if (n == 5) {  // down and up between two frames
      push_key(SDLK_RIGHT, true);
      push_key(SDLK_RIGHT, false);
    }
    if (n == 20) {  // a press held over frame 20
      push_key(SDLK_RIGHT, true);
      scripted_keys()[SDLK_RIGHT] = 1;
    }
    if (n == 21) {
      push_key(SDLK_RIGHT, false);
      scripted_keys()[SDLK_RIGHT] = 0;
    }
    if (n == 40) {
      push_key(SDLK_RETURN, true);
      push_key(SDLK_RETURN, false);
    }
    if (n == 200) scripted_keys()[SDLK_ESCAPE] = 1;  // ends a screen that missed the press
  };
  select_result r = run_select_screen(t, 60);
  EXPECT_EQ(r.selection, 2);
  EXPECT_EQ(r.quit, 0);
  EXPECT_EQ(limiter().rate(), 200);  // 4 x 60, held at the limiter's maximum
  EXPECT_EQ(frames, 41 + 32);        // frames 0..40, then the fade-out
  for (int i = 0; i < title_roster_size; ++i) {
    EXPECT_EQ(t.action_shots[i].pixels(), nullptr);
    EXPECT_EQ(t.symbols[i].pixels(), nullptr);
  }
  t.close();
  EXPECT_EQ(limiter().rate(), 60);
  EXPECT_EQ(t.logo.pixels(), nullptr);
  EXPECT_EQ(t.backdrop.pixels(), nullptr);
}

// A close request behind other events ends each title phase after the frame
// it came in; the fades take it out of the queue and leave the rest.
TEST_F(TitleSelect, AQuitBehindOtherEventsEndsEveryPhaseAfterItsFrame) {
  title_screens t;
  t.load_logo(60);
  struct fade {
    const char* name;
    void (title_screens::*run)();
  };
  for (const fade& f : {fade{"logo fade-in", &title_screens::logo_fade_in},
                        fade{"logo fade-out", &title_screens::logo_fade_out},
                        fade{"backdrop fade-in", &title_screens::backdrop_fade_in}}) {
    SCOPED_TRACE(f.name);
    if (f.run == &title_screens::logo_fade_out) t.load_select_images();
    frames = 0;
    on_frame = [](long n) {
      if (n == 7) push_keys_then_quit();
    };
    (t.*f.run)();
    EXPECT_EQ(frames, 7);
    EXPECT_TRUE(quit_requested());
    EXPECT_EQ(queued_events(), 5);
    forget_events_and_quit();
  }

  frames = 0;
  on_frame = [](long n) {
    if (n == 7) push_keys_then_quit();
    if (n == 200) scripted_keys()[SDLK_ESCAPE] = 1;  // ends a screen that missed the request
  };
  select_result r = run_select_screen(t, 60);
  EXPECT_EQ(r.quit, 1);  // a quit, not a confirmation
  EXPECT_EQ(frames, 8);  // frame 7 drew, no fade-out
  forget_events_and_quit();

  title_screens again;
  through_backdrop_fade_in(again);
  frames = 0;
  on_frame = [](long n) {
    if (n == 3) scripted_keys()[SDLK_RETURN] = 1;
    if (n == 10) push_keys_then_quit();  // during the fade-out
  };
  r = run_select_screen(again, 60);
  EXPECT_EQ(r.quit, 0);
  EXPECT_EQ(frames, 10);
  EXPECT_TRUE(quit_requested());
  again.close();
  EXPECT_EQ(frames, 10);  // nothing more shown
}

namespace {

// One frame of the select screen with `key` (an SDL key, or -1 for none) held
// for that frame only; frames are 5 ms apart.
void tap(select_state& s, int key, Uint32& now) {
  if (key >= 0) scripted_keys()[key] = 1;
  select_apply_input(s, select_events(), now += 5);
  if (key >= 0) scripted_keys()[key] = 0;
  select_apply_input(s, select_events(), now += 5);
}

}  // namespace

// Tab joins a second player, who then moves with a and d and confirms with
// Tab; the first player's confirm waits for the second, and each cursor
// answers only its own player's keys.
TEST_F(TitleSelect, ASecondPlayerJoinsPicksAndIsWaitedFor) {
  select_state s;
  Uint32 now = 0;
  tap(s, SDLK_d, now);  // before joining, a and d move nothing
  EXPECT_EQ(s.second.joined, 0);
  EXPECT_EQ(s.second.selection, 0);
  EXPECT_EQ(s.selection, 0);
  tap(s, SDLK_TAB, now);
  EXPECT_EQ(s.second.joined, 1);
  EXPECT_EQ(s.second.ready, 0);  // the joining press is not a confirm
  tap(s, SDLK_a, now);
  EXPECT_EQ(s.second.selection, 3);
  tap(s, SDLK_RIGHT, now);
  EXPECT_EQ(s.selection, 1);
  EXPECT_EQ(s.second.selection, 3);
  tap(s, SDLK_RETURN, now);
  EXPECT_EQ(s.first_ready, 1);
  EXPECT_EQ(s.done, 0);
  tap(s, SDLK_RIGHT, now);  // a confirmed cursor stays
  EXPECT_EQ(s.selection, 1);
  tap(s, SDLK_d, now);
  EXPECT_EQ(s.second.selection, 0);
  tap(s, SDLK_TAB, now);
  EXPECT_EQ(s.second.ready, 1);
  EXPECT_EQ(s.done, 1);
  EXPECT_EQ(s.quit, 0);

  // Joystick 1: a button press (as an event) joins, its axis moves the second
  // cursor, a held button confirms; joystick 0 still moves the first.
  g_video.joystick_ok = 1;
  seams().second_joy_axis = scripted_second_axis;
  seams().second_joy_button = scripted_second_button;
  select_state j;
  for (Uint8 stick : {0, 1}) {
    SDL_Event e = {};
    e.type = SDL_JOYBUTTONDOWN;
    e.jbutton.which = stick;
    e.jbutton.button = 3;
    SDL_PushEvent(&e);
  }
  select_events joined;
  select_take_events(joined);
  EXPECT_EQ(joined.presses[select_joy_button0 + 3], 1);
  EXPECT_EQ(joined.presses[select_second_joy_button0 + 3], 1);
  joined.presses[select_joy_button0 + 3] = 0;  // the first player is not confirming yet
  select_apply_input(j, joined, now += 5);
  EXPECT_EQ(j.second.joined, 1);
  second_axis_value = 20000;
  select_apply_input(j, select_events(), now += 5);
  second_axis_value = 0;
  EXPECT_EQ(j.second.selection, 1);
  EXPECT_EQ(j.selection, 0);
  axis_value = -20000;
  select_apply_input(j, select_events(), now += 5);
  axis_value = 0;
  EXPECT_EQ(j.selection, 3);
  EXPECT_EQ(j.second.selection, 1);
  second_button_held = 0;
  select_apply_input(j, select_events(), now += 5);
  EXPECT_EQ(j.second.ready, 1);
  EXPECT_EQ(j.done, 0);  // the first player has not confirmed
}

// The whole screen with two players: both cursors and their labels are shown,
// and the second player's pick comes back with the first's.
TEST_F(TitleSelect, TheScreenShowsAndReturnsBothPicks) {
  title_screens t;
  through_backdrop_fade_in(t);
  static int labels[2];
  labels[0] = labels[1] = 0;
  fight_text_watcher = [](int, int, const char* text) {
    if (std::string(text) == "Player 1") ++labels[0];
    if (std::string(text) == "Player 2") ++labels[1];
  };
  frames = 0;
  on_frame = [](long n) {
    scripted_keys()[SDLK_TAB] = n == 5 || n == 30;
    scripted_keys()[SDLK_d] = n == 10 || n == 12;
    scripted_keys()[SDLK_RETURN] = n == 20;
  };
  select_result r = run_select_screen(t, 60);
  fight_text_watcher = nullptr;
  EXPECT_EQ(r.quit, 0);
  EXPECT_EQ(r.selection, 0);
  EXPECT_EQ(r.second_player, 2);
  EXPECT_EQ(frames, 31 + 32);  // frames 0..30, then the fade-out
  EXPECT_EQ(labels[0], 25);    // frames 6..30, after the join read in frame 5
  EXPECT_EQ(labels[1], 25);
}

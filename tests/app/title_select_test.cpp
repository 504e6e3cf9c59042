// Title fades and the select screen, driven through the video's present hook
// and the keyboard and joystick seams, on pictures written by the test.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "app/frame_limiter.h"
#include "app/select_screen.h"
#include "app/title_screens.h"
#include "app/video.h"
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
int no_button(int) { return 0; }

rgba solid(uint8_t r, uint8_t g, uint8_t b) { return {r, g, b, 255}; }

class title_select_test : public testing::Test {
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
  }
  void TearDown() override {
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

TEST_F(title_select_test, each_fade_takes_32_frames) {
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

TEST_F(title_select_test, input_samples_follow_the_rotation) {
  EXPECT_TRUE(select_samples_input(0, 60));
  EXPECT_TRUE(select_samples_input(240, 60));
  EXPECT_FALSE(select_samples_input(8, 60));
  EXPECT_FALSE(select_samples_input(120, 60));
  EXPECT_TRUE(select_samples_input(0, 90));
  EXPECT_FALSE(select_samples_input(240, 90));
  EXPECT_TRUE(select_samples_input(120, 30));
}

TEST_F(title_select_test, right_walks_the_roster_and_wraps) {
  select_state s;
  scripted_keys()[SDLK_RIGHT] = 1;
  int seen[5];
  for (int& v : seen) {
    select_sample_input(s, nullptr);
    v = s.selection;
  }
  EXPECT_EQ(seen[0], 1);
  EXPECT_EQ(seen[1], 2);
  EXPECT_EQ(seen[2], 3);
  EXPECT_EQ(seen[3], 0);
  EXPECT_EQ(seen[4], 1);
  EXPECT_EQ(s.done, 0);
  scripted_keys()[SDLK_RIGHT] = 0;
  scripted_keys()[SDLK_LEFT] = 1;
  select_state from_zero;
  select_sample_input(from_zero, nullptr);
  EXPECT_EQ(from_zero.selection, 3);
}

TEST_F(title_select_test, key_and_axis_together_wrap_once) {
  g_video.joystick_ok = 1;
  seams().joy_axis = scripted_axis;
  seams().joy_button = no_button;
  axis_value = 20000;
  scripted_keys()[SDLK_RIGHT] = 1;
  select_state s;
  s.selection = 3;
  select_sample_input(s, nullptr);  // 3 + 1 + 1 = 5, wrapped once to 0
  EXPECT_EQ(s.selection, 0);
  axis_value = -17000;  // not beyond the threshold
  scripted_keys()[SDLK_RIGHT] = 0;
  select_sample_input(s, nullptr);
  EXPECT_EQ(s.selection, 0);
}

TEST_F(title_select_test, quit_event_confirms_and_q_or_escape_quit) {
  select_state closed;
  closed.selection = 2;
  SDL_Event quit_event;
  quit_event.type = SDL_QUIT;
  select_sample_input(closed, &quit_event);
  EXPECT_EQ(closed.done, 1);
  EXPECT_EQ(closed.quit, 0);
  EXPECT_EQ(closed.selection, 2);
  for (int key : {static_cast<int>('q'), static_cast<int>(SDLK_ESCAPE)}) {
    std::fill(scripted_keys(), scripted_keys() + SDLK_LAST, 0);
    scripted_keys()[key] = 1;
    select_state s;
    select_sample_input(s, nullptr);
    EXPECT_EQ(s.done, 1);
    EXPECT_EQ(s.quit, 1);
  }
}

TEST_F(title_select_test, select_screen_returns_the_confirmed_position) {
  title_screens t;
  through_backdrop_fade_in(t);
  frames = 0;
  scripted_keys()[SDLK_RIGHT] = 1;  // seen by the sample of frame 0
  on_frame = [](long n) {
    if (n == 1) scripted_keys()[SDLK_RIGHT] = 0;
    if (n == 10) scripted_keys()[SDLK_RETURN] = 1;  // pressed and held until the next sample
  };
  select_result r = run_select_screen(t, 60);
  EXPECT_EQ(r.selection, 1);
  EXPECT_EQ(r.quit, 0);
  EXPECT_EQ(limiter().rate(), 200);  // 4 x 60, held at the limiter's maximum
  EXPECT_EQ(frames, 31 + 32);        // frames 0..30 (sample at rotation 240), then the fade-out
  for (int i = 0; i < title_roster_size; ++i) {
    EXPECT_EQ(t.action_shots[i].pixels(), nullptr);
    EXPECT_EQ(t.symbols[i].pixels(), nullptr);
  }
  t.close();
  EXPECT_EQ(limiter().rate(), 60);
  EXPECT_EQ(t.logo.pixels(), nullptr);
  EXPECT_EQ(t.backdrop.pixels(), nullptr);
}

TEST_F(title_select_test, keys_between_samples_are_not_seen) {
  title_screens t;
  through_backdrop_fade_in(t);
  frames = 0;
  on_frame = [](long n) {
    if (n == 3) scripted_keys()[SDLK_RIGHT] = 1;   // held over frames 3..9 only
    if (n == 10) scripted_keys()[SDLK_RIGHT] = 0;
    if (n == 40) scripted_keys()[SDLK_ESCAPE] = 1;
  };
  select_result r = run_select_screen(t, 60);
  EXPECT_EQ(r.selection, 0);
  EXPECT_EQ(r.quit, 1);
}

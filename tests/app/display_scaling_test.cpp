// The window shows the logical screen scaled to fit: where each logical pixel
// lands, the bars, sharp and smooth scaling, and full-screen toggling.
#include <SDL.h>
#include <gtest/gtest.h>

#include "app/display_fit.h"
#include "app/screen_scaler.h"
#include "app/video.h"
#include "support/test_env.h"

namespace {

void expect_fit(const display_fit& f, int x, int y, int w, int h) {
  EXPECT_EQ(x, f.x);
  EXPECT_EQ(y, f.y);
  EXPECT_EQ(w, f.w);
  EXPECT_EQ(h, f.h);
}

TEST(DisplayFit, WholeMultiplesFillTheWindowAndMapEveryPixel) {
  for (int n = 1; n <= 3; ++n) {
    SCOPED_TRACE(n);
    const display_fit f = fit_logical_screen(640, 480, 640 * n, 480 * n);
    expect_fit(f, 0, 0, 640 * n, 480 * n);
    EXPECT_EQ(5 * n, window_x_of(f, 640, 5));
    EXPECT_EQ(479 * n, window_y_of(f, 480, 479));
    // Each of the n window columns of logical column 5 shows column 5.
    for (int k = 0; k < n; ++k) EXPECT_EQ(5, logical_of(5 * n + k, 640, f.w));
  }
}

TEST(DisplayFit, OddWindowsKeepTheAspectWithBarsOnOneAxis) {
  // Wider than 4:3: bars left and right (a 1080p desktop).
  const display_fit wide = fit_logical_screen(640, 480, 1920, 1080);
  expect_fit(wide, 240, 0, 1440, 1080);
  EXPECT_EQ(240, window_x_of(wide, 640, 0));
  EXPECT_EQ(240 + 1438, window_x_of(wide, 640, 639));  // 639 * 2.25 = 1437.75, first column 1438
  // Taller: bars above and below.
  const display_fit tall = fit_logical_screen(640, 480, 800, 1000);
  expect_fit(tall, 0, 200, 800, 600);
  EXPECT_EQ(200 + 300, window_y_of(tall, 480, 240));
  // Sizes that don't divide: rounded, centred, never outside the window.
  const display_fit odd = fit_logical_screen(640, 480, 1001, 333);
  expect_fit(odd, 278, 0, 444, 333);
  const display_fit narrow = fit_logical_screen(1920, 1080, 1000, 999);
  expect_fit(narrow, 0, 218, 1000, 563);
  // Nothing to show into.
  expect_fit(fit_logical_screen(640, 480, 0, 480), 0, 0, 0, 0);
}

SDL_Surface* surface_32(int w, int h) {
  return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
}

uint32_t& pixel(SDL_Surface* s, int x, int y) {
  return reinterpret_cast<uint32_t*>(static_cast<Uint8*>(s->pixels) + y * s->pitch)[x];
}

// Logical 4 x 3 with a distinct colour per pixel.
SDL_Surface* numbered_screen() {
  SDL_Surface* s = surface_32(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) pixel(s, x, y) = 0x101010u * static_cast<uint32_t>(1 + x + 4 * y);
  return s;
}

// Every window pixel: the logical pixel the fit maps it to, black outside.
void expect_nearest_picture(SDL_Surface* logical, SDL_Surface* window) {
  const display_fit f = fit_logical_screen(logical->w, logical->h, window->w, window->h);
  for (int y = 0; y < window->h; ++y) {
    for (int x = 0; x < window->w; ++x) {
      const bool inside = x >= f.x && x < f.x + f.w && y >= f.y && y < f.y + f.h;
      const uint32_t want =
          inside ? pixel(logical, logical_of(x - f.x, logical->w, f.w), logical_of(y - f.y, logical->h, f.h)) : 0u;
      ASSERT_EQ(want, pixel(window, x, y)) << "window pixel " << x << "," << y;
    }
  }
}

TEST(ScreenScaler, SharpScalingCopiesWholePixelsAndPaintsTheBars) {
  SDL_Surface* logical = numbered_screen();
  screen_scaler scaler;
  for (const auto& size : {std::make_pair(4, 3), std::make_pair(12, 9), std::make_pair(17, 9), std::make_pair(8, 11)}) {
    SCOPED_TRACE(size.first * 100 + size.second);
    SDL_Surface* window = surface_32(size.first, size.second);
    SDL_FillRect(window, nullptr, 0xFFFFFFu);  // whatever was there before
    scaler.draw(logical, window, fit_logical_screen(4, 3, window->w, window->h), false);
    expect_nearest_picture(logical, window);
    SDL_FreeSurface(window);
  }
  SDL_FreeSurface(logical);
}

TEST(ScreenScaler, SmoothScalingBlendsNeighboursAndKeepsTheEdges) {
  SDL_Surface* logical = surface_32(2, 2);
  pixel(logical, 0, 0) = pixel(logical, 0, 1) = 0x000000u;
  pixel(logical, 1, 0) = pixel(logical, 1, 1) = 0xC8C8C8u;
  SDL_Surface* window = surface_32(8, 8);
  screen_scaler scaler;
  scaler.draw(logical, window, fit_logical_screen(2, 2, 8, 8), true);
  for (int y = 0; y < 8; ++y) {
    EXPECT_EQ(0x000000u, pixel(window, 0, y));
    EXPECT_EQ(0xC8C8C8u, pixel(window, 7, y));
    for (int x = 1; x < 8; ++x) EXPECT_LE(pixel(window, x - 1, y) & 0xFF, pixel(window, x, y) & 0xFF);
  }
  // Between the two: a grey of its own on every channel, neither end.
  const uint32_t middle = pixel(window, 3, 4);
  EXPECT_GT(middle & 0xFF, 0u);
  EXPECT_LT(middle & 0xFF, 0xC8u);
  EXPECT_EQ(middle & 0xFF, (middle >> 16) & 0xFF);
  // Sharp scaling of the same picture shows only the two colours.
  scaler.draw(logical, window, fit_logical_screen(2, 2, 8, 8), false);
  EXPECT_EQ(0x000000u, pixel(window, 3, 4));
  SDL_FreeSurface(window);
  SDL_FreeSurface(logical);
}

// The video object at another size than the other tests use, put back after.
class VideoWindow : public ::testing::Test {
 protected:
  // The logical screen stays 640 x 480 (other tests keep pointers to it); a
  // desktop of 1600 x 1000 has room for a window twice its size.
  void SetUp() override {
    ensure_video();
    saved_desktop_w = g_video.desktop_w;
    saved_desktop_h = g_video.desktop_h;
    g_video.desktop_w = 1600;
    g_video.desktop_h = 1000;
  }
  void TearDown() override {
    g_video.scale = 1;
    g_video.desktop_w = saved_desktop_w;
    g_video.desktop_h = saved_desktop_h;
    g_video.flags &= ~static_cast<uint32_t>(SDL_FULLSCREEN);
    capture_stdout([] { g_video.set_video_mode(640, 480, 32); });
  }
  int saved_desktop_w = 0, saved_desktop_h = 0;
};

TEST_F(VideoWindow, ScaledWindowShowsTheLogicalScreenAndFullScreenKeepsIt) {
  if (gl_test_mode()) GTEST_SKIP() << "software presentation";
  SDL_Surface* screen = g_video.screen;
  g_video.scale = 2;
  capture_stdout([] { g_video.set_video_mode(640, 480, 32); });
  ASSERT_EQ(screen, g_video.screen);
  ASSERT_EQ(1280, g_video.window->w);
  ASSERT_EQ(960, g_video.window->h);
  SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 10, 20, 30));
  SDL_Rect mark = {100, 50, 1, 1};
  SDL_FillRect(screen, &mark, SDL_MapRGB(screen->format, 250, 0, 0));
  g_video.present();
  SDL_Surface* w = g_video.window;
  EXPECT_EQ(pixel(screen, 100, 50), pixel(w, 200, 100));
  EXPECT_EQ(pixel(screen, 100, 50), pixel(w, 201, 101));
  EXPECT_EQ(pixel(screen, 0, 0), pixel(w, 202, 100));

  // Full screen at the desktop's size, then back: the logical screen, its
  // contents and its size never change.
  g_video.request_fullscreen_toggle();
  capture_stdout([] { g_video.present(); });
  ASSERT_TRUE(g_video.fullscreen());
  EXPECT_EQ(g_video.desktop_w, g_video.window->w);
  EXPECT_EQ(g_video.desktop_h, g_video.window->h);
  EXPECT_EQ(screen, g_video.screen);
  g_video.present();
  const display_fit f = g_video.fit();
  EXPECT_EQ(133, f.x);
  EXPECT_EQ(pixel(screen, 100, 50), pixel(g_video.window, window_x_of(f, 640, 100), window_y_of(f, 480, 50)));
  EXPECT_EQ(0u, pixel(g_video.window, 50, 500) & 0xFFFFFF);  // the bar on the left
  g_video.request_fullscreen_toggle();
  capture_stdout([] { g_video.present(); });
  EXPECT_FALSE(g_video.fullscreen());
  EXPECT_EQ(1280, g_video.window->w);
  EXPECT_EQ(screen, g_video.screen);
  EXPECT_EQ(SDL_MapRGB(screen->format, 250, 0, 0), pixel(screen, 100, 50));

  // A window the player resized: fitted the same way, bars above and below.
  g_video.request_window_size(800, 1000);
  capture_stdout([] { g_video.present(); });
  ASSERT_EQ(800, g_video.window->w);
  g_video.present();
  const display_fit r = g_video.fit();
  EXPECT_EQ(200, r.y);
  EXPECT_EQ(0u, pixel(g_video.window, 400, 100) & 0xFFFFFF);
  EXPECT_EQ(pixel(screen, 100, 50), pixel(g_video.window, window_x_of(r, 640, 100), window_y_of(r, 480, 50)));
}

TEST_F(VideoWindow, KeysAndResizeEventsReachTheWindow) {
  if (gl_test_mode()) GTEST_SKIP() << "software presentation";
  g_video.present();  // installs the event watcher
  SDL_EventFilter filter = SDL_GetEventFilter();
  ASSERT_NE(nullptr, filter);
  // The window shows the screen 1:1 here; what the screen holds survives the toggles.
  SDL_Surface* screen = g_video.screen;
  SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 1, 2, 3));
  SDL_Rect mark = {320, 240, 1, 1};
  SDL_FillRect(screen, &mark, SDL_MapRGB(screen->format, 200, 100, 50));
  const uint32_t marked = pixel(screen, 320, 240);
  SDL_Event press = {};
  press.type = SDL_KEYDOWN;
  press.key.keysym.sym = SDLK_RETURN;
  filter(&press);  // Enter alone changes nothing
  capture_stdout([] { g_video.present(); });
  EXPECT_FALSE(g_video.fullscreen());
  press.key.keysym.mod = KMOD_LALT;
  filter(&press);
  capture_stdout([] { g_video.present(); });
  EXPECT_TRUE(g_video.fullscreen());
  EXPECT_EQ(marked, pixel(g_video.screen, 320, 240));
  press.key.keysym.sym = SDLK_F11;
  press.key.keysym.mod = KMOD_NONE;
  filter(&press);
  capture_stdout([] { g_video.present(); });
  EXPECT_FALSE(g_video.fullscreen());
  EXPECT_EQ(marked, pixel(g_video.screen, 320, 240));
  SDL_Event resize = {};
  resize.type = SDL_VIDEORESIZE;
  resize.resize.w = 700;
  resize.resize.h = 300;
  filter(&resize);
  capture_stdout([] { g_video.present(); });
  EXPECT_EQ(700, g_video.window->w);
  EXPECT_EQ(300, g_video.window->h);
}

}  // namespace

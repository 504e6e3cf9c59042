// Timing figures of a stage-shaped frame (three 1600-wide zoomed layers and a
// floor) with the fast and the straightforward zoomed draws. The figures are
// printed, not asserted (the machine is shared); what is asserted is that both
// paths leave the same screen after the same frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <cstdio>

#include "app/video.h"
#include "gfx/img_mgr.h"
#include "gfx/zoom_window.h"
#include "picture_files.h"
#include "support/test_env.h"

namespace {

// CPU time of this thread: other programs on the shared machine don't count.
double thread_us() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

double median_frame_us(bool fast, img_mgr* layers, img_mgr& floor, int frames, std::vector<uint8_t>& last_screen) {
  set_zoom_fast_path(fast);
  std::vector<double> us;
  SDL_Surface* screen = g_video.screen;
  for (int f = 0; f < frames; ++f) {
    const double zoom = 0.6 + 0.4 * ((f * 7) % 100) / 100.0;
    const int scroll = (f * 13) % 900;
    g_video.clear_screen();
    const double t0 = thread_us();
    for (int i = 0; i < 3; ++i) {
      layers[i].src_rect.x = static_cast<Sint16>(scroll / (i + 1));
      layers[i].src_rect.w = static_cast<Uint16>(640 / zoom);
      layers[i].draw_zoomed(0, 0, screen, zoom);
    }
    floor.src_rect.x = static_cast<Sint16>(scroll);
    floor.src_rect.w = static_cast<Uint16>(640 / zoom);
    floor.draw_depth(0, 380, screen, zoom, 0.17);
    const double t1 = thread_us();
    us.push_back(t1 - t0);
  }
  last_screen = surface_bytes(screen);
  std::sort(us.begin(), us.end());
  set_zoom_fast_path(true);
  return us[us.size() / 2];
}

}  // namespace

TEST(ZoomTiming, StageShapedFrameFigures) {
  ensure_video();
  std::string dir = make_temp_dir("zoomtiming");
  auto colour = [](int x, int y) -> rgba {
    if ((x / 50 + y / 40) % 4 == 0) return {0, 255, 0, 255};
    return {static_cast<uint8_t>(x), static_cast<uint8_t>(y), 77, 255};
  };
  std::string layer = write_picture(dir, "layer.png", 1600, 480, colour);
  std::string floor_file = write_picture(dir, "floor.png", 1600, 100, colour);
  img_mgr layers[3];
  img_mgr floor;
  for (img_mgr& l : layers) {
    l.load(layer.c_str());
    l.no_zoom_cache = 1;
  }
  floor.load(floor_file.c_str());
  floor.no_zoom_cache = 1;
  std::vector<uint8_t> fast_screen, reference_screen, longer_run;
  const double fast = median_frame_us(true, layers, floor, 60, fast_screen);
  const double reference = median_frame_us(false, layers, floor, 60, reference_screen);
  const double fast_again = median_frame_us(true, layers, floor, 200, longer_run);
  std::printf("stage-shaped frame, software, thread CPU time: fast %.0f us (again %.0f us), straightforward %.0f us (median)\n", fast,
              fast_again, reference);
  EXPECT_TRUE(fast_screen == reference_screen);
}

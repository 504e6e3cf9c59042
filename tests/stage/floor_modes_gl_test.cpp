// The bundled stage's tilted floor looks the same in both drawing modes: the
// stage is drawn under the same camera through OpenGL and, in the same
// process, with software blits onto a surface of the screen's size, and the
// floor's rows of the two pictures are compared.
#include <gtest/gtest.h>
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "fight/fight_camera.h"
#include "app/video.h"
#include "fighter/lifeform.h"
#include "gfx/screen.h"
#include "stage/level.h"
#include "stage/stage_cover_sweep.h"

namespace {

using frame = std::vector<uint8_t>;  // r, g, b per pixel, rows from the top

frame read_gl(int w, int h) {
  frame gl(static_cast<size_t>(w) * h * 4);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, gl.data());
  frame out(static_cast<size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = &gl[(static_cast<size_t>(h - 1 - y) * w + x) * 4];
      std::copy_n(p, 3, &out[(static_cast<size_t>(y) * w + x) * 3]);
    }
  }
  return out;
}

frame read_surface(SDL_Surface* s) {
  frame out(static_cast<size_t>(s->w) * s->h * 3);
  SDL_LockSurface(s);
  for (int y = 0; y < s->h; ++y) {
    const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch);
    for (int x = 0; x < s->w; ++x) {
      uint8_t* p = &out[(static_cast<size_t>(y) * s->w + x) * 3];
      SDL_GetRGB(row[x], s->format, &p[0], &p[1], &p[2]);
    }
  }
  SDL_UnlockSurface(s);
  return out;
}

// Runs `fn` in software mode with `surface` standing in for the screen (and
// nothing presented: the window stays OpenGL's).
template <typename Fn>
void as_software(SDL_Surface* surface, Fn fn) {
  const screen_state kept = g_screen;
  g_screen.screen = surface;
  g_screen.flags = 0;
  g_screen.present = nullptr;
  fn();
  g_screen = kept;
}

struct camera_case {
  int left, right, lift;  // the fighters' span and how high they are
};

class FloorModes : public testing::Test {
 protected:
  void TearDown() override {
    if (soft) SDL_FreeSurface(soft);
  }

  // Both copies of the bundled stage for a screen of w x h; false to skip.
  bool load(int screen_w, int screen_h) {
    if (!stage_cover::load_bundled_stage(gl_stage, screen_w, screen_h)) return false;
    w = screen_w;
    h = screen_h;
    soft = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    bool loaded = false;
    if (soft) as_software(soft, [&] { loaded = stage_cover::load_bundled_stage(soft_stage, w, h); });
    return loaded;
  }

  void place(const camera_case& c) {
    a.width = b.width = 100;
    a.height = b.height = 200;
    a.x = c.left;
    b.x = c.right - 100;
    a.y = b.y = h - 200 - c.lift;
  }

  frame draw_soft(bool with_floor) {
    const int floor = soft_stage.floor;
    if (!with_floor) soft_stage.floor = -1;
    as_software(soft, [&] {
      SDL_FillRect(soft, nullptr, 0);
      apply_camera(soft_stage, fight_camera(a, b, w, h, soft_stage.max_width, soft_stage.scale));
      soft_stage.advance();
      soft_stage.draw();
    });
    soft_stage.floor = floor;
    return read_surface(soft);
  }

  frame draw_gl() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    apply_camera(gl_stage, fight_camera(a, b, w, h, gl_stage.max_width, gl_stage.scale));
    gl_stage.advance();
    gl_stage.draw();
    return read_gl(w, h);
  }

  void expect_same_floor(const camera_case& c);

  level gl_stage, soft_stage;
  lifeform a, b;
  SDL_Surface* soft = nullptr;
  int w = 0, h = 0;
};

double row_difference(const frame& p, const frame& q, int y, int w) {
  long sum = 0;
  for (int i = y * w * 3; i < (y + 1) * w * 3; ++i) sum += std::abs(p[i] - q[i]);
  return static_cast<double>(sum) / (w * 3);
}

// Rows where the software floor is drawn (they change when the floor is left
// out) must show the same picture rows in OpenGL mode: the mean difference of
// a row's channels stays within a few levels (the tiles' slanted edges may
// land a pixel apart), where a floor drawn from other picture rows differs by
// tens of levels on most rows.
void FloorModes::expect_same_floor(const camera_case& c) {
  place(c);
  const frame without = draw_soft(false);
  const frame soft_frame = draw_soft(true);
  const frame gl_frame = draw_gl();
  int floor_rows = 0, far_rows = 0;
  double worst = 0.0;
  int worst_row = -1;
  for (int y = 0; y < h; ++y) {
    if (row_difference(without, soft_frame, y, w) == 0.0) continue;
    ++floor_rows;
    const double d = row_difference(soft_frame, gl_frame, y, w);
    if (d > 4.0) ++far_rows;
    if (d > worst) worst = d, worst_row = y;
  }
  std::printf("%dx%d, fighters %d..%d lifted %d, zoom %.3f: %d floor rows, worst row %d differs by %.1f\n", w, h,
              c.left, c.right, c.lift, gl_stage.zoom, floor_rows, worst_row, worst);
  EXPECT_GT(floor_rows, 0) << "fighters " << c.left << ".." << c.right;
  EXPECT_EQ(0, far_rows) << w << "x" << h << ", fighters " << c.left << ".." << c.right << " lifted " << c.lift
                         << ": worst row " << worst_row << " differs by " << worst;
}

}  // namespace

// Minified: the camera's zooms on a 640 x 480 screen lie below 1.
TEST_F(FloorModes, SmallScreenFloorShowsTheSameRowsInBothModes) {
  if (!load(640, 480)) GTEST_SKIP() << "GAME_DATA_DIR is not set";
  expect_same_floor({0, 400, 0});      // close, at the stage's left end
  expect_same_floor({300, 900, 0});    // middle distance, scrolled
  expect_same_floor({0, 1600, 0});     // the widest view
  expect_same_floor({700, 1200, 30});  // fighters in the air: the floor sinks
}

// Magnified: on a 1920 x 1080 screen the close views zoom above 1.
TEST_F(FloorModes, LargeScreenFloorShowsTheSameRowsInBothModes) {
  if (!load(1920, 1080)) GTEST_SKIP() << "GAME_DATA_DIR is not set";
  expect_same_floor({1200, 1600, 0});
  expect_same_floor({0, 1600, 0});
  expect_same_floor({500, 1000, 60});
}

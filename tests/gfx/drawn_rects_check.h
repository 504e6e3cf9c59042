// The rectangles noted while drawing are exactly the screen pixels the
// pictures covered: opaque pictures drawn over a black screen change the
// union of the noted rectangles and nothing else, drawn plain, clipped by the
// screen's edges, zoomed or as a tilted floor. Shared by the software and
// OpenGL tests.
#pragma once
#include <gtest/gtest.h>
#include <SDL_opengl.h>

#include <string>
#include <vector>

#include "app/video.h"
#include "gfx/drawn_rects.h"
#include "gfx/img_mgr.h"
#include "picture_files.h"
#include "support/test_env.h"

namespace drawn_rects_check {

// True where the screen is not black, row by row from the top.
inline std::vector<bool> lit_pixels() {
  SDL_Surface* screen = g_video.screen;
  const int w = screen->w, h = screen->h;
  std::vector<bool> lit(static_cast<size_t>(w) * h, false);
  if (g_video.opengl()) {
    std::vector<uint8_t> rgba_rows(static_cast<size_t>(w) * h * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba_rows.data());
    for (int y = 0; y < h; ++y) {
      const uint8_t* p = &rgba_rows[static_cast<size_t>(h - 1 - y) * w * 4];
      for (int x = 0; x < w; ++x) lit[static_cast<size_t>(y) * w + x] = p[x * 4] || p[x * 4 + 1] || p[x * 4 + 2];
    }
    return lit;
  }
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const rgba c = pixel_at(screen, x, y);
      lit[static_cast<size_t>(y) * w + x] = c.r || c.g || c.b;
    }
  }
  return lit;
}

inline void clear_to_black() {
  if (g_video.opengl()) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  } else {
    SDL_FillRect(g_video.screen, nullptr, 0);
  }
}

// `label` names the case in failure messages.
inline void expect_noted_exactly(const std::string& file, const std::string& label) {
  SDL_Surface* screen = g_video.screen;
  clear_to_black();
  img_mgr plain, zoomed, floor;
  for (img_mgr* img : {&plain, &zoomed, &floor}) capture_stdout([&] { img->load(file.c_str()); });
  std::vector<SDL_Rect> drawn;
  record_drawn_rects(&drawn);
  plain.draw(-50, 430);  // cut by the left and bottom edges
  zoomed.draw_zoomed(300, 100, screen, 0.6);
  zoomed.draw_zoomed(1000, 200, screen, 0.7);  // runs off the right edge
  floor.draw_depth(0, 300, screen, 0.8, 0.17);
  record_drawn_rects(nullptr);

  const int w = screen->w;
  std::vector<bool> noted(static_cast<size_t>(w) * screen->h, false);
  for (const SDL_Rect& r : drawn) {
    for (int y = r.y; y < r.y + r.h; ++y) {
      for (int x = r.x; x < r.x + r.w; ++x) noted[static_cast<size_t>(y) * w + x] = true;
    }
  }
  const std::vector<bool> lit = lit_pixels();
  long changed = 0, differ = 0;
  for (size_t i = 0; i < lit.size(); ++i) {
    changed += lit[i];
    differ += lit[i] != noted[i];
  }
  EXPECT_GT(changed, 20000) << label;
  EXPECT_EQ(0, differ) << label << ": pixels drawn but not noted, or noted but not drawn";
}

inline std::string solid_picture() {
  return write_solid_picture(make_temp_dir("drawn_rects"), "solid.png", 200, 100, 200, 60, 30);
}

}  // namespace drawn_rects_check

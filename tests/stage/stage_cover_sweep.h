// Sweeps the fight camera over the bundled stage and counts the screen pixels
// the stage leaves uncovered, in the drawing mode the test program runs in.
// A pixel is uncovered when its colour after the stage is drawn depends on
// what was on the screen before: each frame is drawn twice, over two clear
// colours no stage picture uses, and the two results are compared (this also
// catches pixels a translucent texture edge only half covers).
#pragma once
#include <GL/gl.h>
#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fight/fight_camera.h"
#include "app/fight/fight_setup.h"
#include "app/video.h"
#include "fighter/lifeform.h"
#include "stage/level.h"
#include "support/test_env.h"

namespace stage_cover {

struct sweep_result {
  long uncovered = 0;       // pixels over all frames
  int frames = 0;           // camera positions drawn
  int frames_with_holes = 0;
  std::string first_hole;   // the first frame that had one, for the failure message
  double min_zoom = 1e9, max_zoom = 0.0;  // camera zooms met
};

inline void clear_to(Uint8 r, Uint8 g, Uint8 b) {
  if (g_video.opengl()) {
    glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  } else {
    SDL_FillRect(g_video.screen, nullptr, SDL_MapRGB(g_video.screen->format, r, g, b));
  }
}

// The whole frame's pixel values as they are stored, row by row (from the
// bottom in OpenGL mode); only compared with each other.
inline void read_frame(std::vector<uint32_t>& out) {
  SDL_Surface* s = g_video.screen;
  out.resize(static_cast<size_t>(s->w) * s->h);
  if (g_video.opengl()) {
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, s->w, s->h, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
    for (uint32_t& v : out) v &= 0x00FFFFFF;  // red, green, blue (little-endian)
    return;
  }
  SDL_LockSurface(s);
  for (int y = 0; y < s->h; ++y) {
    const Uint8* row = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
    std::copy_n(reinterpret_cast<const Uint32*>(row), s->w, &out[static_cast<size_t>(y) * s->w]);
  }
  SDL_UnlockSurface(s);
}

// Loads the bundled stage (GAME_DATA_DIR) for a screen of w x h; false when
// the data directory is not set or the mode cannot be set.
inline bool load_bundled_stage(level& stage, int w, int h) {
  const char* data = std::getenv("GAME_DATA_DIR");
  if (!data) return false;
  ensure_video(w, h);
  bool ok = true;
  capture_stdout([&] {
    if (g_video.screen->w != w || g_video.screen->h != h) ok = g_video.set_video_mode(w, h, 32) == 0;
    if (!ok) return;
    char old[4096];
    if (!getcwd(old, sizeof old) || chdir(data) != 0) {
      ok = false;
      return;
    }
    stage.load(fight_level_file);
    ok = chdir(old) == 0;
  });
  return ok && g_video.screen && g_video.screen->w == w && g_video.screen->h == h;
}

// Draws the stage under the camera the fighters give and counts the pixels
// that depend on the clear colour.
inline long uncovered_pixels(level& stage, const lifeform& a, const lifeform& b, int shake, double& zoom_out,
                             std::string& where) {
  const int w = g_video.screen->w, h = g_video.screen->h;
  static std::vector<uint32_t> first, second;
  const Uint8 sentinels[2][3] = {{255, 0, 255}, {0, 255, 255}};
  for (int pass = 0; pass < 2; ++pass) {
    apply_camera(stage, fight_camera(a, b, w, h, stage.max_width, stage.scale));
    stage.shake = shake;
    stage.flash = 0;
    zoom_out = stage.zoom;
    clear_to(sentinels[pass][0], sentinels[pass][1], sentinels[pass][2]);
    stage.advance();
    stage.draw();
    read_frame(pass == 0 ? first : second);
  }
  long holes = 0;
  int x0 = w, y0 = h, x1 = -1, y1 = -1;
  for (size_t i = 0; i < first.size(); ++i) {
    if (first[i] == second[i]) continue;
    ++holes;
    const int x = static_cast<int>(i % w);
    const int y = g_video.opengl() ? h - 1 - static_cast<int>(i / w) : static_cast<int>(i / w);
    x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
  }
  char text[80];
  std::snprintf(text, sizeof text, " in (%d,%d)..(%d,%d)", x0, y0, x1, y1);
  where = holes ? text : "";
  return holes;
}

// Every zoom step the camera can make (one per 1/25, the picture code's zoom
// key), each at both ends of the stage (every third also in the middle), with
// the fighters standing or in the air and the shake at its extremes. With
// `alternate_ends` (for the slower OpenGL read-back) each step is drawn at one
// end, the ends taking turns, and the widest and closest views at both.
inline sweep_result sweep(level& stage, bool alternate_ends) {
  sweep_result result;
  const int screen_w = g_video.screen->w, screen_h = g_video.screen->h;
  const double s = stage.scale != 0.0 ? stage.scale : 1.0;
  const int world = static_cast<int>(stage.max_width / s);  // the fighters' right limit
  const int fighter_w = 100, fighter_h = 200;
  lifeform a, b;
  a.width = b.width = fighter_w;
  a.height = b.height = fighter_h;

  // Fighters spanning left..right (a at the left edge of the span, b at its right).
  auto place = [&](int left, int right, int lift) {
    a.x = left;
    b.x = std::max(left, right - fighter_w);
    a.y = b.y = std::max(0, screen_h - fighter_h - lift);
  };
  auto camera_zoom = [&](int left, int right) {
    place(left, right, 0);
    return fight_camera(a, b, screen_w, screen_h, stage.max_width, stage.scale).zoom;
  };
  const double zoom_wide = camera_zoom(0, world);
  const double zoom_close = camera_zoom(0, fighter_w);

  // Standing, as high as the screen lets them, half way up; cycled over the
  // frames together with the shake's extremes.
  const int lifts[] = {0, screen_h, (screen_h - fighter_h) / 2};
  const int shakes[] = {0, -5, 5, 5, 0, -5};
  int variant = 0;
  auto frame = [&](int left, int right) {
    left = std::max(0, std::min(left, world - fighter_w));
    right = std::max(left + fighter_w, std::min(right, world));
    const int lift = lifts[variant % 3];
    const int shake = shakes[variant % 6];
    ++variant;
    place(left, right, lift);
    double zoom = 0.0;
    std::string where;
    const long holes = uncovered_pixels(stage, a, b, shake, zoom, where);
    ++result.frames;
    result.min_zoom = std::min(result.min_zoom, zoom);
    result.max_zoom = std::max(result.max_zoom, zoom);
    if (holes == 0) return;
    result.uncovered += holes;
    if (result.frames_with_holes++ == 0) {
      char text[160];
      std::snprintf(text, sizeof text, "fighters %d..%d lifted %d, shake %d, zoom %.4f: %ld pixels", left, right,
                    lift, shake, zoom, holes);
      result.first_hole = text + where;
    }
  };

  for (int key = static_cast<int>(zoom_wide * 25); key <= static_cast<int>(zoom_close * 25); ++key) {
    const double zoom = std::max(zoom_wide, std::min(zoom_close, (key + 0.5) / 25.0));
    // The camera shows (world + span) / 2 at this zoom.
    const int span = static_cast<int>(2.0 * screen_w / (zoom * s) - world);
    const bool first_or_last = key == static_cast<int>(zoom_wide * 25) || key == static_cast<int>(zoom_close * 25);
    if (!alternate_ends || first_or_last || key % 2 == 0) frame(0, span);
    if (!alternate_ends || first_or_last || key % 2 == 1) frame(world - span, world);
    if (key % 3 == 0) frame((world - span) / 2, (world + span) / 2);
  }
  frame(0, world);  // the widest view, in two of the lifts
  frame(0, world);
  return result;
}

}  // namespace stage_cover

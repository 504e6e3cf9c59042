// Measures level::draw on a stage of the bundled shape with the camera zoom
// changing every frame, against a floor: the same pictures pre-zoomed once and
// drawn with plain keyed blits (software) or the same textured quads (OpenGL).
//   stage_bench [--opengl] [--frames N]
// Software mode wants SDL_VIDEODRIVER=dummy; OpenGL mode a display.
#include <GL/gl.h>
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_rotozoom.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <vector>

#include "app/video.h"
#include "bench_stage.h"
#include "gfx/zoom_window.h"
#include "stage/level.h"

namespace {

struct camera {
  int scroll_x, scroll_y;
  double zoom;
};

// Zoom sweeps 0.6 -> 1.0 -> 0.6 over 80 frames; the scroll pans across the stage.
camera camera_at(int frame) {
  double t = (frame % 80) / 40.0;
  double tri = t <= 1.0 ? t : 2.0 - t;
  double pan = (frame % 300) / 150.0;
  double pan_tri = pan <= 1.0 ? pan : 2.0 - pan;
  return {static_cast<int>(pan_tri * 700), 0, 0.6 + 0.4 * tri};
}

void finish_frame() {
  if (g_video.opengl()) glFinish();
}

void clear_frame() {
  if (g_video.opengl()) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  } else {
    SDL_FillRect(g_video.screen, nullptr, 0);
  }
}

struct figures {
  double median_us, p99_us;
};

figures run(int frames, const std::function<void(int)>& draw) {
  std::vector<double> us;
  for (int f = -30; f < frames; ++f) {
    clear_frame();
    finish_frame();
    auto start = std::chrono::steady_clock::now();
    draw(f < 0 ? f + 30 : f);
    finish_frame();
    auto end = std::chrono::steady_clock::now();
    g_video.present();
    if (f >= 0) us.push_back(std::chrono::duration<double, std::micro>(end - start).count());
  }
  std::sort(us.begin(), us.end());
  return {us[us.size() / 2], us[std::min(us.size() - 1, us.size() * 99 / 100)]};
}

// What the stage draws each frame, recomputed for the floor: windows of the
// three layers of part 0 and the floor, in the level's own geometry.
struct layer_draw {
  int picture;  // index into level::images
  int src_x, src_y, src_w;
  int y;
};

std::vector<layer_draw> frame_layers(const level& l, const camera& c) {
  const int screen_w = 640, screen_h = 480;
  const double dx = (l.max_width - screen_w) / 4, dy = (l.max_height - screen_h) / 4;
  int y = l.base_y;  // part 0 is the bottom piece
  std::vector<layer_draw> out;
  int n = 2;
  out.push_back({0, static_cast<int>(c.scroll_x / 3.0 + n * dx), static_cast<int>(c.scroll_y / 3.0 - n * dy), screen_w, y});
  for (int m = 0; m < n; ++m) {
    int d = n - 1 - m;
    out.push_back({1 + m, static_cast<int>(c.scroll_x / (d + 1.0) + d * dx),
                   static_cast<int>(c.scroll_y / (d + 1.0) - d * dy), l.images[1 + m].width, y});
  }
  const img_mgr& fl = l.images[4];
  int floor_y = static_cast<int>((y - fl.height + l.images[2].height) - c.scroll_y * c.zoom);
  out.push_back({4, c.scroll_x, 0, fl.width, floor_y});
  return out;
}

// Software floor: every picture pre-zoomed once per zoom key, converted and
// keyed, then each frame one plain keyed blit per layer.
class software_floor {
 public:
  explicit software_floor(const level& l) : stage(l) {
    for (int key = 15; key <= 25; ++key) {
      for (int i = 0; i < 5; ++i) {
        SDL_Surface* src = load(stage.images[i].name);
        SDL_Surface* z = rotozoomSurface(src, 0.0, key / 25.0, 0);
        SDL_Surface* d = SDL_DisplayFormat(z);
        SDL_SetAlpha(d, 0, 255);  // opaque pictures: no blending path
        SDL_SetColorKey(d, SDL_SRCCOLORKEY, SDL_MapRGB(d->format, 0, 255, 0));
        zoomed[key].push_back(d);
        SDL_FreeSurface(z);
        SDL_FreeSurface(src);
      }
    }
  }
  void draw(int frame) {
    camera c = camera_at(frame);
    int key = static_cast<int>(c.zoom * 25);
    for (const layer_draw& d : frame_layers(stage, c)) {
      SDL_Surface* z = zoomed[key][d.picture];
      SDL_Rect src = {static_cast<Sint16>(d.src_x * c.zoom), static_cast<Sint16>(d.src_y * c.zoom),
                      static_cast<Uint16>(d.src_w * c.zoom), static_cast<Uint16>(z->h)};
      SDL_Rect dst = {0, static_cast<Sint16>(d.y + stage.images[d.picture].height - z->h), 0, 0};
      SDL_BlitSurface(z, &src, g_video.screen, &dst);
    }
  }

 private:
  static SDL_Surface* load(const char* path) { return IMG_Load(path); }
  const level& stage;
  std::map<int, std::vector<SDL_Surface*>> zoomed;
};

// OpenGL floor: the level's own textures, the same quads, nothing else.
void gl_floor(const level& l, int frame) {
  camera c = camera_at(frame);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4ub(255, 255, 255, 255);
  for (const layer_draw& d : frame_layers(l, c)) {
    const img_mgr& img = l.images[d.picture];
    glBindTexture(GL_TEXTURE_2D, img.texture);
    double s0 = d.src_x / static_cast<double>(img.texture_width);
    double s1 = (d.src_x + d.src_w) / static_cast<double>(img.texture_width);
    double t0 = d.src_y / static_cast<double>(img.texture_height);
    double t1 = (d.src_y + img.height) / static_cast<double>(img.texture_height);
    int w = static_cast<int>(img.width * c.zoom), h = static_cast<int>(img.height * c.zoom);
    int y = static_cast<int>(d.y + img.height - img.height * c.zoom);
    glBegin(GL_QUADS);
    glTexCoord2d(s0, t0); glVertex2i(0, y);
    glTexCoord2d(s1, t0); glVertex2i(w, y);
    glTexCoord2d(s1, t1); glVertex2i(w, y + h);
    glTexCoord2d(s0, t1); glVertex2i(0, y + h);
    glEnd();
  }
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
}

}  // namespace

int main(int argc, char** argv) {
  bool opengl = false;
  int frames = 600;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--opengl") == 0) {
      opengl = true;
    } else if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
      frames = std::max(10, std::atoi(argv[++i]));
    } else {
      std::fprintf(stderr, "usage: %s [--opengl] [--frames N]\n", argv[0]);
      return 2;
    }
  }
  if (opengl) setenv("SDL12COMPAT_OPENGL_SCALING", "0", 0);

  // The game's narration of loading is not what this program reports.
  std::fflush(stdout);
  int saved_stdout = dup(1);
  int null_fd = open("/dev/null", O_WRONLY);
  dup2(null_fd, 1);

  g_video.flags = SDL_HWSURFACE | SDL_DOUBLEBUF | (opengl ? SDL_OPENGL : 0);
  int mode = g_video.set_video_mode(640, 480, 32);
  bench_stage_files files = write_bench_stage();
  level stage;
  g_level = &stage;
  if (mode == 0) stage.load(files.level_file.c_str());
  // One draw uploads (GL) or converts everything before timing.
  if (mode == 0) stage.draw();

  std::fflush(stdout);
  dup2(saved_stdout, 1);
  close(null_fd);
  if (mode != 0) {
    std::fprintf(stderr, "stage_bench: no video mode: %s\n", SDL_GetError());
    return 1;
  }
  std::printf("stage_bench: %s mode, 640x480, %d frames, zoom 0.6..1.0 every frame\n",
              opengl ? "OpenGL" : "software", frames);

  auto draw_level = [&stage](int f) {
    camera c = camera_at(f);
    stage.scroll_x = c.scroll_x;
    stage.scroll_y = c.scroll_y;
    stage.zoom = c.zoom;
    stage.advance();
    stage.draw();
  };
  figures level_fig = run(frames, draw_level);
  figures floor_fig;
  if (opengl) {
    floor_fig = run(frames, [&stage](int f) { gl_floor(stage, f); });
  } else {
    software_floor floor(stage);
    floor_fig = run(frames, [&floor](int f) { floor.draw(f); });
  }
  std::printf("level::draw      median %8.1f us   p99 %8.1f us\n", level_fig.median_us, level_fig.p99_us);
  std::printf("floor            median %8.1f us   p99 %8.1f us\n", floor_fig.median_us, floor_fig.p99_us);
  std::printf("ratio (median)   %.2f\n", level_fig.median_us / floor_fig.median_us);
  if (!opengl) {
    set_zoom_fast_path(false);
    figures slow = run(frames, draw_level);
    set_zoom_fast_path(true);
    std::printf("level::draw without the zoom window path: median %8.1f us   p99 %8.1f us\n",
                slow.median_us, slow.p99_us);
  }
  std::filesystem::remove_all(files.dir);
  return 0;
}

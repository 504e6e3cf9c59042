#include "app/dev/fight_benchmark.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/frame_limiter.h"
#include "app/video.h"
#include "core/log.h"
#include "fight/fight_options.h"
#include "fighter/lifeform.h"
#include "gfx/drawn_rects.h"
#include "gfx/img_mgr.h"
#include "gfx/pixel_share.h"

namespace {

constexpr int floor_frames = 200;

// The pixels of a picture made here rather than loaded. The holder is ours,
// freed with its surface after the picture; it carries a count of our own so
// that an upload, which frees a holder no image counts any more, leaves it.
struct free_made_pixels {
  void operator()(shared_surface* holder) const {
    if (holder->surface) SDL_FreeSurface(holder->surface);
    delete holder;
  }
};

struct placed_picture {
  std::unique_ptr<shared_surface, free_made_pixels> pixels;  // outlives picture, declared first
  std::unique_ptr<img_mgr> picture;
  int x = 0, y = 0;
};

// A picture of w x h made for the floor: opaque grey with a key-green band,
// so software blits take the keyed path like the game's pictures. Nothing is
// added when it can't be made.
void place(std::vector<placed_picture>& out, int w, int h, int x, int y) {
  if (w <= 0 || h <= 0) return;
  SDL_Surface* raw = g_video.create_rgba_surface(w, h, 32, 0);
  if (!raw) return;
  SDL_FillRect(raw, nullptr, SDL_MapRGB(raw->format, 96, 96, 112));
  SDL_Rect band = {0, 0, static_cast<Uint16>(w), static_cast<Uint16>(h / 3)};
  SDL_FillRect(raw, &band, SDL_MapRGB(raw->format, 0, 255, 0));
  SDL_Surface* shown = opengl_mode() ? raw : SDL_DisplayFormat(raw);
  if (shown != raw) SDL_FreeSurface(raw);
  if (!shown) return;
  placed_picture p;
  p.pixels.reset(new shared_surface);
  p.pixels->set_surface(shown);
  p.pixels->add_ref();
  p.pixels->apply_colour_key();
  p.picture = std::make_unique<img_mgr>();
  p.picture->surface = p.pixels.get();
  p.picture->width = w;
  p.picture->height = h;
  p.picture->src_rect = {0, 0, static_cast<Uint16>(w), static_cast<Uint16>(h)};
  p.picture->dest_rect = p.picture->src_rect;
  p.x = x;
  p.y = y;
  out.push_back(std::move(p));
}

// The pictures the last fight frame drew, by the screen rectangles they
// covered (`drawn`), and stand-ins for the gauges and the timing figure.
std::vector<placed_picture> floor_scene(const std::vector<SDL_Rect>& drawn) {
  std::vector<placed_picture> scene;
  const int sw = g_video.screen ? g_video.screen->w : 0;
  for (const SDL_Rect& r : drawn) place(scene, r.w, r.h, r.x, r.y);
  place(scene, 175, 15, 0, 5);        // the two gauges
  place(scene, 175, 15, sw - 175, 5);
  if (current_fight_options().timing_figure) place(scene, 24, 22, 0, 100);
  return scene;
}

double floor_frame_ms(const std::vector<placed_picture>& scene) {
  using clock_type = std::chrono::steady_clock;
  std::vector<double> times;
  for (int i = 0; i < floor_frames; ++i) {
    const clock_type::time_point start = clock_type::now();
    g_video.clear_screen();
    for (const placed_picture& p : scene) p.picture->draw(p.x, p.y);
    g_video.present();
    times.push_back(std::chrono::duration<double, std::milli>(clock_type::now() - start).count());
  }
  return percentile(times, 0.5);
}

long read_status_kb(const char* field) {
  FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return -1;
  char line[256];
  long value = -1;
  const size_t n = std::strlen(field);
  while (std::fgets(line, sizeof line, f)) {
    if (std::strncmp(line, field, n) == 0) {
      value = std::strtol(line + n, nullptr, 10);
      break;
    }
  }
  std::fclose(f);
  return value;
}

// Long runs (the soak) print one line per window of this many frames: the
// median frame time of the window and the peak memory so far, so the start
// and the end of a long fight can be compared.
constexpr size_t soak_window = 3600;

void print_window(const std::vector<fight_frame_times>& times) {
  std::vector<double> window;
  for (size_t i = times.size() - soak_window; i < times.size(); ++i) window.push_back(times[i].frame);
  log_out("benchmark: window frames [%zu-%zu] median [%.3f] ms peak RSS [%ld] kB\n", times.size() - soak_window,
          times.size() - 1, percentile(window, 0.5), read_status_kb("VmHWM:"));
}

}  // namespace

double percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  fraction = std::max(0.0, std::min(1.0, fraction));
  size_t rank = static_cast<size_t>(std::ceil(fraction * values.size()));
  if (rank < 1) rank = 1;
  return values[rank - 1];
}

frame_statistics summarise(const std::vector<fight_frame_times>& frames) {
  frame_statistics s;
  s.frames = static_cast<long>(frames.size());
  if (frames.empty()) return s;
  std::vector<double> totals;
  double sum = 0.0, stage = 0.0, update = 0.0, hits = 0.0;
  for (const fight_frame_times& t : frames) {
    totals.push_back(t.frame);
    sum += t.frame;
    stage += t.stage;
    update += t.update;
    hits += t.hits;
  }
  s.median = percentile(totals, 0.5);
  s.p99 = percentile(totals, 0.99);
  s.worst = *std::max_element(totals.begin(), totals.end());
  if (sum > 0.0) {
    s.stage_share = stage / sum;
    s.update_share = update / sum;
    s.hit_share = hits / sum;
  }
  return s;
}

void run_fight_benchmark(long frames) {
  limiter().set_enabled(false);
  fight_loop loop;
  loop.measuring = true;
  std::vector<fight_frame_times> times;
  times.reserve(frames > 0 && frames < 10000000 ? static_cast<size_t>(frames) : 0);
  size_t peak_list = lifeform_list.size();
  g_video.scaling_ms_total = g_video.scaling_ms_worst = 0.0;
  g_video.scaled_frames = 0;
  std::vector<SDL_Rect> drawn;
  for (long i = 0; i < frames; ++i) {
    // The last frame notes where its pictures went, for the floor.
    if (i == frames - 1) record_drawn_rects(&drawn);
    const bool quit = loop.run_frame();
    record_drawn_rects(nullptr);
    times.push_back(loop.times);
    peak_list = std::max(peak_list, lifeform_list.size());
    if (times.size() % soak_window == 0) print_window(times);
    if (quit) break;
  }
  const frame_statistics s = summarise(times);
  const long fight_peak_kb = read_status_kb("VmHWM:");  // before the floor's pictures
  const double scaling_mean = g_video.scaled_frames ? g_video.scaling_ms_total / g_video.scaled_frames : 0.0;
  const double scaling_worst = g_video.scaling_ms_worst;
  const double floor_ms = floor_frame_ms(floor_scene(drawn));

  log_out("benchmark: mode [%s] screen [%dx%d]\n", opengl_mode() ? "opengl" : "software",
          g_video.screen ? g_video.screen->w : 0, g_video.screen ? g_video.screen->h : 0);
  log_out("benchmark: frames run [%ld]\n", s.frames);
  log_out("benchmark: ms per fight frame: median [%.3f] p99 [%.3f] worst [%.3f]\n", s.median, s.p99, s.worst);
  log_out("benchmark: share of frame time: stage drawing [%.1f%%] lifeform updates [%.1f%%] hit detection [%.1f%%]\n",
          100.0 * s.stage_share, 100.0 * s.update_share, 100.0 * s.hit_share);
  long long floor_pixels = 0;
  for (const SDL_Rect& r : drawn) floor_pixels += static_cast<long long>(r.w) * r.h;
  log_out("benchmark: floor (same pictures pre-rendered, plain draws, present): median [%.3f] ms over [%zu] "
          "pictures of [%lld] pixels\n",
          floor_ms, drawn.size(), floor_pixels);
  const display_fit fit = g_video.fit();
  log_out("benchmark: shown in a [%dx%d] %s at [%dx%d]; scaling per frame: mean [%.3f] ms worst [%.3f] ms\n",
          g_video.window ? g_video.window->w : 0, g_video.window ? g_video.window->h : 0,
          g_video.fullscreen() ? "full screen" : "window", fit.w, fit.h, scaling_mean, scaling_worst);
  log_out("benchmark: pictures kept [%lld] kB, zoomed copies kept [%lld] kB (let go so far [%lld]); fight peak RSS [%ld] kB\n",
          picture_pixels_in_use() * 4 / 1024, zoomed_pixels_in_use() * 4 / 1024, zooms_let_go(), fight_peak_kb);
  log_out("benchmark: lifeform_list peak [%zu] end [%zu]; memory peak RSS [%ld] kB now [%ld] kB\n", peak_list,
          lifeform_list.size(), read_status_kb("VmHWM:"), read_status_kb("VmRSS:"));
}

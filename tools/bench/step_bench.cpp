// Prints what one fight frame's simulation costs without drawing: one step,
// one save, one restore and an 8-frame rollback (restore + 8 steps), median
// and 99th percentile in microseconds, on the bundled fighters and stage.
// Usage: step_bench DATA_DIR WIDTH HEIGHT [FRAMES]   (SDL_VIDEODRIVER=dummy)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <vector>

#include "app/fight/fight_setup.h"
#include "app/video.h"
#include "core/log.h"
#include "core/seams.h"
#include "fight/fight_clock.h"
#include "fight/fight_host.h"
#include "fight/fight_state.h"
#include "fight/fight_step.h"
#include "fight/match.h"
#include "fighter/lifeform.h"
#include "fighter/computer_difficulty.h"
#include "stage/level.h"

namespace {

using bench_clock = std::chrono::steady_clock;

class screen_host final : public fight_host {
 public:
  bool screen_size(int& w, int& h) const override {
    w = g_video.screen->w;
    h = g_video.screen->h;
    return true;
  }
};

double us_since(bench_clock::time_point t) {
  return std::chrono::duration<double, std::micro>(bench_clock::now() - t).count();
}

void print(const char* what, std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const double median = v[v.size() / 2];
  const double p99 = v[std::min(v.size() - 1, v.size() * 99 / 100)];
  std::printf("step_bench: %-22s median %8.2f us   p99 %8.2f us   (%zu samples)\n", what, median, p99, v.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: step_bench DATA_DIR WIDTH HEIGHT [FRAMES]\n");
    return 2;
  }
  const int w = std::atoi(argv[2]), h = std::atoi(argv[3]);
  const int frames = argc > 4 ? std::atoi(argv[4]) : 6000;
  if (chdir(argv[1]) != 0) return 1;
  g_video.flags = SDL_HWSURFACE;
  if (g_video.set_video_mode(w, h, 32) != 0) return 1;

  level stage;
  g_level = &stage;
  screen_host host;
  set_fight_host(&host);
  use_recordable_random(1);
  use_fight_clock(60);
  set_computer_difficulty(4);
  fight_setup setup;
  set_log_muted(true);
  setup.build_paths(false);
  setup.build_controls();
  setup.start_fight(1);
  set_log_muted(false);
  if (lifeform_list.size() != 2) {
    std::fprintf(stderr, "step_bench: the fighters did not load from %s\n", argv[1]);
    return 1;
  }
  match_state match(match_rules{99, 30, 60, true});  // never decided: the fight goes on
  match.start_match();
  fight_content content;
  step_options options;
  options.match = &match;
  options.quiet = true;

  std::vector<double> steps, saves, restores, rollbacks;
  std::deque<std::pair<fight_state, frame_inputs>> recent;
  uint32_t roll = 12345;
  frame_inputs in;
  for (int f = 0; f < frames; ++f) {
    if (f % 6 == 0) {
      roll = roll * 1103515245u + 12345u;
      in.player[0] = static_cast<player_actions>((roll >> 8) & 0x7f);
      in.player[1] = static_cast<player_actions>((roll >> 16) & 0x7f);
    }
    recent.emplace_back();
    bench_clock::time_point t = bench_clock::now();
    save_fight_state(recent.back().first, content, &match);
    saves.push_back(us_since(t));
    recent.back().second = in;
    if (recent.size() > 8) recent.pop_front();

    t = bench_clock::now();
    step(in, options);
    steps.push_back(us_since(t));

    if (f % 4 == 0 && recent.size() == 8) {
      fight_state now;
      save_fight_state(now, content, &match);
      t = bench_clock::now();
      restore_fight_state(recent.front().first, content, &match);
      restores.push_back(us_since(t));
      for (const auto& r : recent) step(r.second, options);
      rollbacks.push_back(us_since(t));
    }
  }
  std::printf("step_bench: %dx%d, %d frames\n", w, h, frames);
  print("step", steps);
  print("save", saves);
  print("restore", restores);
  print("rollback (8 frames)", rollbacks);
  std::fflush(stdout);
  std::_Exit(0);  // the fighters stay loaded: nothing to tidy for a measurement
}

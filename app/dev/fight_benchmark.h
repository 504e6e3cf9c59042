// The benchmark mode (--benchmark N): N fight frames with the limiter off,
// then the figures: frames run, median, 99th-percentile and worst
// milliseconds per fight frame (present included), the shares of stage
// drawing, lifeform updates and hit detection, and a floor measured in the
// same run.
//
// The floor is what a frame of the same picture costs when every picture is
// pre-rendered and only blitted: the last fight frame notes the screen
// rectangle each of its pictures covered (gfx/drawn_rects.h), stage layers,
// floor rows and lifeforms alike; the floor builds one unzoomed picture of
// each, two gauge-sized ones and, when the figure is shown, a text-sized one,
// and times frames of clear, those plain draws (keyed blits, or textured
// quads in OpenGL mode) and present. It draws the pixels the frame showed, so
// the game's frame over the floor is a fair ratio at every screen size.
#pragma once
#include <vector>

#include "app/fight/fight_loop.h"

struct frame_statistics {
  long frames = 0;
  double median = 0.0, p99 = 0.0, worst = 0.0;  // ms per frame
  double stage_share = 0.0, update_share = 0.0, hit_share = 0.0;  // of the summed frame time, 0..1
};

// Nearest-rank percentile (fraction 0..1) of `values`; 0 when empty.
double percentile(std::vector<double> values, double fraction);

frame_statistics summarise(const std::vector<fight_frame_times>& frames);

// Runs the fight for `frames` frames (fewer when the player quits) and prints
// the figures. Peak list size and peak resident memory are printed too.
void run_fight_benchmark(long frames);

// Resident memory of the test process, for the loops that check that drawing
// leaks nothing per frame.
#pragma once
#include <cstdio>
#include <unistd.h>

inline long resident_kb() {
  long pages_total = 0, pages_resident = 0;
  FILE* f = std::fopen("/proc/self/statm", "r");
  if (!f) return 0;
  if (std::fscanf(f, "%ld %ld", &pages_total, &pages_resident) != 2) pages_resident = 0;
  std::fclose(f);
  return pages_resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// AddressSanitizer keeps freed blocks in quarantine, so resident memory grows
// with every allocation: the figures mean nothing in such a build.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool memory_figures_meaningful = false;
#else
constexpr bool memory_figures_meaningful = true;
#endif

// Runs `draw` 10 000 times after a warm-up and returns the growth in kB.
template <typename Fn>
long growth_over_10000_draws(const char* label, Fn draw) {
  for (int i = 0; i < 200; ++i) draw(i);
  const long before = resident_kb();
  for (int i = 0; i < 10000; ++i) draw(i);
  const long after = resident_kb();
  std::printf("memory over 10000 draws, %s: %ld kB -> %ld kB\n", label, before, after);
  return after - before;
}

// The game on a machine that gives it too little memory: an allocation of the
// game's own that fails ends the run with one message and status 3, never
// with the abort of an uncaught std::bad_alloc. (Under some caps FreeType
// itself faults inside TTF rendering once its mallocs fail; that is the
// library's and is not asserted here.)
#include <gtest/gtest.h>

#include <csignal>

#include "app/measured_run.h"

TEST(OutOfMemory, ATightAddressSpaceEndsTheRunWithAMessageNeverACrash) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer reserves terabytes of address space; a cap can't be set under it";
#endif
  const std::string data = bundled_data_dir();
  if (data.empty()) GTEST_SKIP() << "no bundled data (set GAME_DATA_DIR)";
  // From caps where the libraries' own mallocs fail (pictures then stay
  // empty) down to ones where the game's own allocations fail.
  bool saw_out_of_memory = false;
  for (long mb : {120, 90, 70, 60, 50, 45, 40}) {
    measured_run run = run_measured({"--data-dir", data, "--no-limiter", "--fighter", "1", "--seed", "1", "--frames",
                                     "150"},
                                    {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"}, mb * 1024);
    SCOPED_TRACE("address space " + std::to_string(mb) + " MB\n" + run.err.substr(run.err.size() > 600 ? run.err.size() - 600 : 0));
    EXPECT_NE(run.signal, SIGABRT) << "aborted: an allocation failure nobody handled";
    if (run.exit_status == 3) {
      EXPECT_NE(run.err.find("ERROR: out of memory"), std::string::npos);
      saw_out_of_memory = true;
    } else {
      EXPECT_TRUE(run.exit_status <= 1) << "status " << run.exit_status;
    }
  }
  EXPECT_TRUE(saw_out_of_memory) << "no cap was tight enough to reach the game's own allocations";
}

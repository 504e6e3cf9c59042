// The fight benchmark in OpenGL mode: its floor pictures are made by the
// benchmark itself, and uploading them must not take their pixels away from it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/run_game.h"
#include "support/test_env.h"

namespace {

TEST(FightBenchmarkGl, MeasuresTheFloorAndEndsCleanly) {
  const char* display = std::getenv("DISPLAY");
  game_run run = run_fight({"--data-dir", bundled_data_dir(), "--demo", "--fighter", "1", "--seed", "7",
                            "--no-limiter", "--benchmark", "30", "--opengl"},
                           {std::string("DISPLAY=") + (display ? display : ""), "SDL_AUDIODRIVER=dummy",
                            "SDL12COMPAT_OPENGL_SCALING=0", "LIBGL_ALWAYS_SOFTWARE=1"});
  EXPECT_EQ(0, run.exit_status) << run.err;
  EXPECT_NE(std::string::npos, run.out.find("benchmark: floor (same pictures pre-rendered")) << run.out;
}

}  // namespace

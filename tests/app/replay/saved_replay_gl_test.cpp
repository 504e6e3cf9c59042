// F9 in OpenGL mode: the saved run plays back the same.
#include "saved_replay.h"

namespace {

TEST(SavedReplayGl, AReplaySavedWithF9PlaysBackInOpenGlMode) { expect_saved_replay_plays_back("--opengl", false); }

}  // namespace

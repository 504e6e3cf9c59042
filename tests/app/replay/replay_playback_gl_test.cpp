// The recorded replays in OpenGL mode: drawing through OpenGL must not change the fight.
#include "replay_playback.h"

namespace {

TEST(ReplayPlaybackGl, RecordedReplaysPlayTheSameInOpenGlMode) {
  if (!bundled_replay_data()) GTEST_SKIP() << "GAME_DATA_DIR (the bundled data, build/data) is not set";
  expect_every_replay_matches("--opengl");
}

}  // namespace

// The fighter viewer in software mode, headless, driven by a key script.
#include "viewer_run.h"

namespace {

TEST(ViewerRun, PostureMovePauseStepMirrorCostumeInSoftwareMode) {
  const char* data = std::getenv("GAME_DATA_DIR");
  if (!data) GTEST_SKIP() << "GAME_DATA_DIR (the bundled data, build/data) is not set";
  viewer_run::result r = viewer_run::run(data, {"--software"}, {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"});
  viewer_run::expect_viewer_run(r);
}

}  // namespace

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

namespace {

// `--view-file` shows a fighter: any other file, or none, is refused before a
// window opens, with exit status 2 and the reason.
TEST(ViewerRun, AFileThatIsNoCharacterFileIsRefused) {
  const char* data = std::getenv("GAME_DATA_DIR");
  if (!data) GTEST_SKIP() << "GAME_DATA_DIR (the bundled data, build/data) is not set";
  const std::vector<std::string> env = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"};
  const std::pair<const char*, const char*> refused[] = {
      {"rsrc\\brela\\stand.png", "it is a PNG picture"},
      {"game\\game.ini", "it sets none of the keys only a character file has"},
      {"game\\fighter\\brela\\punch.ini", "it sets none of the keys only a character file has"},
      {"game\\fighter\\nobody_char.ini", "there is no such file"},
  };
  for (const auto& [file, why] : refused) {
    game_run run = run_fight({"--data-dir", data, "--view-file", file, "--frames", "5"}, env);
    EXPECT_EQ(2, run.exit_status) << file << "\n" << run.out;
    EXPECT_NE(std::string::npos,
              run.err.find(std::string("ERROR: --view-file [") + file + "] is not a character file: " + why))
        << run.err;
    EXPECT_EQ(std::string::npos, run.out.find("viewer: loaded")) << run.out;
  }
  game_run none = run_fight({"--data-dir", data, "--view-file", "", "--frames", "5"}, env);
  EXPECT_EQ(2, none.exit_status) << none.out;
  EXPECT_NE(std::string::npos, none.err.find("--view-file \"\" is not a character file")) << none.err;
  EXPECT_EQ(std::string::npos, none.out.find("load config [game\\game.ini]")) << "the game started:\n" << none.out;

  game_run fighter =
      run_fight({"--data-dir", data, "--view-file", "game\\fighter\\brela_char.ini", "--frames", "100"}, env);
  EXPECT_EQ(0, fighter.exit_status) << fighter.err;
  EXPECT_NE(std::string::npos, fighter.out.find("viewer: loaded [game\\fighter\\brela_char.ini] with [0] problems"));
}

}  // namespace

// Replays every fuzz seed (tools/fuzz/corpus) and every kept crash input
// (tools/fuzz/regressions) through the same steps as the fuzz targets, in the
// normal test build: under the sanitizer build a fixed crash that comes back
// fails here.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/run_game.h"
#include "support/test_env.h"
#include "tools/fuzz/fuzz_drive.h"

namespace fs = std::filesystem;

namespace {

// An absolute path, good after a test moves into its scratch directory.
const fs::path fuzz_dir = source_path("tools/fuzz");

std::string read_bytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void write_bytes(const std::string& name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary) << bytes;
}

// Runs `drive` on every input of `target` from a scratch directory laid out as
// the fuzz targets see it (fz/ for the fuzzed files, game and rsrc linked to
// the bundled data when there is one). Returns the number of inputs replayed.
template <typename Drive>
int replay(const std::string& target, Drive drive) {
  ensure_video();
  const fs::path scratch = make_temp_dir("replay_" + target);
  fs::create_directories(scratch / "fz");
  const char* env = std::getenv("GAME_DATA_DIR");
  fs::path data = env && *env ? fs::path(env) : fs::path(fight_executable()).parent_path().parent_path() / "data";
  if (fs::exists(data / "game")) {
    fs::create_directory_symlink(data / "game", scratch / "game");
    fs::create_directory_symlink(data / "rsrc", scratch / "rsrc");
  }
  const fs::path before = fs::current_path();
  fs::current_path(scratch);
  int count = 0;
  for (const char* kind : {"corpus", "regressions"}) {
    fs::path dir = fuzz_dir / kind / target;
    if (!fs::exists(dir)) continue;
    for (const auto& file : fs::directory_iterator(dir)) {
      if (!file.is_regular_file() || file.path().extension() == ".md") continue;
      SCOPED_TRACE(file.path().string());
      const std::string bytes = read_bytes(file.path());
      capture_stdout([&] { drive(bytes); });
      ++count;
    }
  }
  fs::current_path(before);
  return count;
}

}  // namespace

TEST(HostileReplay, ConfigFiles) {
  int n = replay("config_file", [](const std::string& bytes) {
    write_bytes("fz/config.ini", bytes);
    EXPECT_TRUE(drive_config_file("fz\\config.ini"));
  });
  EXPECT_GT(n, 0);
}

TEST(HostileReplay, Animations) {
  int n = replay("animation", [](const std::string& bytes) {
    write_bytes("fz/anim.ini", bytes);
    drive_animation("fz\\anim.ini");
  });
  EXPECT_GT(n, 0);
}

TEST(HostileReplay, CharacterFiles) {
  int n = replay("character", [](const std::string& bytes) {
    write_bytes("fz/char.ini", bytes);
    drive_character("fz\\char.ini");
  });
  EXPECT_GT(n, 0);
}

TEST(HostileReplay, Levels) {
  int n = replay("level", [](const std::string& bytes) {
    std::string parts[3];
    fuzz_split(bytes.data(), bytes.size(), parts, 3);
    write_bytes("fz/level.ini", parts[0]);
    write_bytes("fz/bgset.ini", parts[1]);
    write_bytes("fz/sortie.ini", parts[2]);
    drive_level("fz\\level.ini");
  });
  EXPECT_GT(n, 0);
}

TEST(HostileReplay, Pictures) {
  int n = replay("picture", [](const std::string& bytes) {
    write_bytes("fz/picture.png", bytes);
    drive_picture("fz\\picture.png");
  });
  EXPECT_GT(n, 0);
}

TEST(HostileReplay, Sounds) {
  open_sound_mixer();
  int n = replay("sound", [](const std::string& bytes) {
    write_bytes("fz/sound.wav", bytes);
    drive_sound("fz\\sound.wav");
  });
  EXPECT_GT(n, 0);
}

// The replay target's seeds are the recorded replays and key scripts.
TEST(HostileReplay, ScriptsAndReplays) {
  int n = replay("replay", [](const std::string& bytes) {
    write_bytes("fz/script.replay", bytes);
    EXPECT_TRUE(drive_script("fz/script.replay"));
  });
  for (const auto& file : fs::directory_iterator(source_path("tests/replays"))) {
    SCOPED_TRACE(file.path().string());
    EXPECT_TRUE(drive_script(file.path().c_str()));
    ++n;
  }
  EXPECT_GE(n, 8);
}

TEST(HostileReplay, LevelInputsSplitIntoTheirThreeFiles) {
  std::string parts[3];
  const std::string input = "length=1\n#--\nimages=1\n#--\nenemies=2\n#--\nextra\n";
  fuzz_split(input.data(), input.size(), parts, 3);
  EXPECT_EQ("length=1\n", parts[0]);
  EXPECT_EQ("images=1\n", parts[1]);
  EXPECT_EQ("enemies=2\n#--\nextra\n", parts[2]);  // a third cut is left in the last file
  fuzz_split("abc", 3, parts, 3);
  EXPECT_EQ("abc", parts[0]);
  EXPECT_EQ("", parts[1]);
}

// The player's settings file: read key by key over game.ini's values, saved
// whole or not at all, and a folder that can't be written never stops the game.
#include <gtest/gtest.h>
#include <SDL.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/input/frame_actions.h"
#include "app/user_settings.h"
#include "app/video.h"
#include "core/user_file_write.h"
#include "support/run_game.h"
#include "support/test_env.h"

namespace {

game_settings from_game_ini() {
  game_settings s;
  s.rounds = 2;
  s.round_time = 60;
  s.difficulty = 3;
  return s;
}

// Standard output through a pipe, which a file-size limit doesn't stop.
template <typename Fn>
std::string piped_stdout(Fn fn) {
  int ends[2];
  if (pipe(ends) != 0) return "";
  std::fflush(stdout);
  const int saved = dup(1);
  dup2(ends[1], 1);
  fn();
  std::fflush(stdout);
  dup2(saved, 1);
  close(saved);
  close(ends[1]);
  std::string out;
  char buffer[4096];
  for (ssize_t n; (n = read(ends[0], buffer, sizeof buffer)) > 0;) out.append(buffer, static_cast<size_t>(n));
  close(ends[0]);
  return out;
}

}  // namespace

TEST(UserSettings, ReadsKeyByKeyWarningWithFileAndLineAndKeepsBindings) {
  const std::string dir = make_temp_dir("user_settings_read");
  write_text_file(dir, "settings.ini",
                  "difficulty=5 rounds=1\n"
                  "round_time=5\n"           // 1..9 seconds is no clock
                  "music_volume=4\n"
                  "effects_volume=eleven\n"
                  "p1_punch=j\n"
                  "scale=3 fullscreen=1 mute=1 smooth=2\n"
                  "volume=3\n"
                  "difficulty=1\n"           // the first one counts
                  "p2_left=joy1 axis 0 - p2_kick=x\n"  // a joystick input is several words
                  "bare p2_up=joy1_axis_0\n");
  user_settings file;
  file.path = dir + "/settings.ini";
  game_settings s = from_game_ini();
  reset_player_bindings();
  const std::string log = capture_stdout([&] { read_user_settings(file, s); });
  // The bindings reach the tables the fight reads; a malformed one leaves the default.
  const action_bindings& p1 = player_bindings(0);
  const action_bindings& p2 = player_bindings(1);
  EXPECT_EQ("j", input_binding_text(p1.inputs[4][0]));
  EXPECT_EQ(input_binding::device::none, p1.inputs[4][1].kind);
  EXPECT_EQ("joy1 axis 0 -", input_binding_text(p2.inputs[2][0]));
  EXPECT_EQ("x", input_binding_text(p2.inputs[5][0]));
  EXPECT_EQ(default_action_bindings(1).inputs[0][0].index, p2.inputs[0][0].index);
  reset_player_bindings();

  EXPECT_EQ(5, s.difficulty);
  EXPECT_EQ(1, s.rounds);
  EXPECT_EQ(60, s.round_time);
  EXPECT_EQ(4, s.music_volume);
  EXPECT_EQ(10, s.effects_volume);
  EXPECT_EQ(3, s.scale);
  EXPECT_TRUE(s.flags & SDL_FULLSCREEN);
  EXPECT_TRUE(s.mute);
  EXPECT_FALSE(s.smooth);
  const std::string f = file.path;
  for (const std::string& line :
       {"WARNING: " + f + ":2: round_time=5 is not 0 or 10..999, keeping 60\n",
        "WARNING: " + f + ":4: effects_volume=eleven is not 0..10, keeping 10\n",
        "WARNING: " + f + ":6: smooth=2 is not 0 or 1, keeping 0\n",
        "WARNING: " + f + ":7: volume=3 is not a setting, ignored\n",
        "WARNING: " + f + ":8: difficulty is set on line 1 already, ignored\n",
        "WARNING: " + f + ":10: 'bare' is not key=value, ignored\n",
        "WARNING: " + f + ":10: p2_up=joy1_axis_0 expected a key name or a joystick input"}) {
    EXPECT_NE(std::string::npos, log.find(line)) << line << "in:\n" << log;
  }
  EXPECT_EQ(std::string::npos, log.find("p1_punch")) << log;

  // Written back: every setting, then the bindings as they were.
  const std::string text = user_settings_text(file, s);
  EXPECT_EQ(
      "difficulty=5\nrounds=1\nround_time=60\neffects_volume=10\nmusic_volume=4\nscale=3\nmute=1\nfullscreen=1\n"
      "smooth=0\np1_punch=j\np2_left=joy1 axis 0 -\np2_kick=x\n",
      text);
  game_settings again = from_game_ini();
  write_text_file(dir, "again.ini", text);
  file.path = dir + "/again.ini";
  const std::string quiet = capture_stdout([&] { read_user_settings(file, again); });
  reset_player_bindings();
  EXPECT_EQ(text, user_settings_text(file, again));
  EXPECT_EQ(std::string::npos, quiet.find("WARNING")) << quiet;
}

TEST(UserSettings, AKillAtEveryWritePointLeavesTheOldFileOrTheNewOneWhole) {
  const std::string dir = make_temp_dir("user_settings_kill");
  user_settings file;
  file.path = dir + "/veltmoore-brawl/settings.ini";
  game_settings old_settings, new_settings;
  new_settings.difficulty = 4;
  new_settings.music_volume = 2;
  ASSERT_TRUE(save_user_settings(file, old_settings));
  const std::string old_text = user_settings_text(file, old_settings);
  const std::string new_text = user_settings_text(file, new_settings);
  ASSERT_EQ(old_text, read_file(file.path));

  static int kill_at;
  for (kill_at = 1; kill_at <= 4; ++kill_at) {
    std::fflush(stdout);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      user_file_write_point = [](int point) {
        if (point == kill_at) raise(SIGKILL);
      };
      save_user_settings(file, new_settings);
      _exit(0);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "write point " << kill_at << " never reached";
    EXPECT_EQ(kill_at < 4 ? old_text : new_text, read_file(file.path)) << "killed at write point " << kill_at;
    ASSERT_TRUE(save_user_settings(file, old_settings));
  }
}

TEST(UserSettings, AFolderThatCantBeWrittenIsAWarningAndTheFileStays) {
  const std::string dir = make_temp_dir("user_settings_fail");
  user_settings file;
  file.path = dir + "/veltmoore-brawl/settings.ini";
  game_settings s;
  ASSERT_TRUE(save_user_settings(file, s));
  const std::string before = read_file(file.path);
  s.difficulty = 2;

  // A full disk (a file-size limit of 0 fails every write the same way).
  rlimit limits;
  ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &limits));
  rlimit none = limits;
  none.rlim_cur = 0;
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &none));
  bool saved = true;
  std::string log = piped_stdout([&] { saved = save_user_settings(file, s); });
  setrlimit(RLIMIT_FSIZE, &limits);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(saved);
  EXPECT_EQ(0u, log.find("WARNING: can't save the settings: " + file.path + ": ")) << log;
  EXPECT_EQ(before, read_file(file.path));

  // A read-only folder (root writes anywhere: there a file stands where the folder should).
  std::string blocked = dir + "/veltmoore-brawl";
  if (geteuid() == 0) {
    blocked = dir + "/not-a-folder/veltmoore-brawl";
    write_text_file(dir, "not-a-folder", "x");
  } else {
    ASSERT_EQ(0, chmod(blocked.c_str(), 0555));
  }
  user_settings unwritable = file;
  unwritable.path = blocked + "/settings.ini";
  log = capture_stdout([&] { saved = save_user_settings(unwritable, s); });
  chmod((dir + "/veltmoore-brawl").c_str(), 0755);
  EXPECT_FALSE(saved);
  EXPECT_EQ(0u, log.find("WARNING: can't save the settings: ")) << log;
  EXPECT_EQ(before, read_file(file.path));
}

TEST(UserSettings, TheGameReadsThePlayersFileUnlessToldNotTo) {
  const std::string data = bundled_data_dir();
  if (data.empty()) GTEST_SKIP() << "no bundled data (GAME_DATA_DIR)";
  const std::string home = make_temp_dir("user_settings_game");
  write_text_file(home, "veltmoore-brawl/settings.ini", "difficulty=9\n");
  const std::vector<std::string> env = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "XDG_CONFIG_HOME=" + home};
  const std::string file = home + "/veltmoore-brawl/settings.ini";
  game_run run = run_fight({"--data-dir", data, "--fighter", "0", "--frames", "1"}, env);
  ASSERT_EQ(0, run.exit_status) << run.err;
  EXPECT_NE(std::string::npos, run.out.find("NOTICE: settings read from " + file + "\nWARNING: " + file +
                                            ":1: difficulty=9 is not 0..5, keeping "))
      << run.out;
  run = run_fight({"--data-dir", data, "--fighter", "0", "--frames", "1", "--no-settings"}, env);
  ASSERT_EQ(0, run.exit_status) << run.err;
  EXPECT_EQ(std::string::npos, run.out.find("settings")) << run.out;
}

// F11 saves the new window state; a folder that can't take the file leaves
// a WARNING and the window switched all the same.
TEST(UserSettings, SwitchingToFullScreenIsSavedOrWarnedAbout) {
  if (gl_test_mode()) GTEST_SKIP() << "software presentation";
  ensure_video();
  const std::string dir = make_temp_dir("user_settings_f11");
  user_settings& file = run_user_settings();
  file.path = dir + "/veltmoore-brawl/settings.ini";
  run_saved_settings() = game_settings();
  g_video.fullscreen_changed = remember_fullscreen;
  g_video.request_fullscreen_toggle();
  capture_stdout([] { g_video.present(); });
  ASSERT_TRUE(g_video.fullscreen());
  EXPECT_NE(std::string::npos, read_file(file.path).find("\nfullscreen=1\n")) << read_file(file.path);

  write_text_file(dir, "blocked", "a file where the folder would be");
  file.path = dir + "/blocked/veltmoore-brawl/settings.ini";
  g_video.request_fullscreen_toggle();
  const std::string log = capture_stdout([] { g_video.present(); });
  EXPECT_FALSE(g_video.fullscreen());
  EXPECT_NE(std::string::npos, log.find("WARNING: can't save the settings: " + dir + "/blocked")) << log;
  EXPECT_NE(std::string::npos, read_file(dir + "/veltmoore-brawl/settings.ini").find("\nfullscreen=1\n"));
  g_video.fullscreen_changed = nullptr;
  file.path.clear();
}

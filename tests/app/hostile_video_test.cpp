// Screen sizes and depths: the accepted range runs (its edges included), just
// outside it is refused with a WARNING and the default kept, and `--check`
// reports what the game would refuse. (A mode that can't be set: startup_run_test.)
#include <gtest/gtest.h>

#include "app/measured_run.h"
#include "app/settings.h"
#include "core/config_file.h"
#include "support/hostile_support.h"

namespace {

struct read_result {
  game_settings settings;
  std::string log;
};

read_result settings_of(const std::string& text, bool opengl = false) {
  std::string dir = make_temp_dir("video_ini");
  write_text_file(dir, "game.ini", text);
  read_result r;
  r.log = capture_stdout([&] {
    config_file ini;
    ini.load((dir + "/game.ini").c_str());
    r.settings = read_settings(ini);
    settle_bpp(r.settings, opengl);
  });
  return r;
}

// A data tree of nothing but game.ini: the run stops at the title's missing
// pictures, which is enough to open the window and draw a few frames.
measured_run run_with_ini(const std::string& ini) {
  std::string dir = make_temp_dir("video_run");
  write_text_file(dir, "game/game.ini", ini);
  return run_measured({"--data-dir", dir, "--no-limiter", "--frames", "3"},
                      {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"});
}

}  // namespace

TEST(HostileVideo, SizesAtTheEdgesAreKeptJustOutsideRefused) {
  read_result widest = settings_of("width=16383\nheight=2\n");
  EXPECT_EQ(16383, widest.settings.width);
  EXPECT_EQ(2, widest.settings.height);
  EXPECT_EQ("", report_line(widest.log, "WARNING:", {}));
  read_result largest = settings_of("width=1920\nheight=1200\n");
  EXPECT_EQ(1920, largest.settings.width);
  EXPECT_EQ(1200, largest.settings.height);

  const char* outside[] = {"width=16384\n", "height=16384\nwidth=2\n", "width=1920\nheight=1201\n",
                           "width=2000\nheight=16383\n"};
  for (const char* text : outside) {
    read_result r = settings_of(text);
    EXPECT_NE("", report_line(r.log, "WARNING:", {"game.ini"})) << text << r.log;
    EXPECT_TRUE((r.settings.width == 640 || r.settings.width == 2) && r.settings.height == 480) << text;
  }
}

TEST(HostileVideo, SoftwareModeDrawsOnlyAt32BitsOpenGlTakesDepthBufferSizes) {
  for (const char* bpp : {"8", "15", "16", "24"}) {
    read_result r = settings_of(std::string("bpp=") + bpp + "\n");
    EXPECT_EQ(32, r.settings.bpp) << bpp;
    EXPECT_NE("", report_line(r.log, "WARNING:", {"game.ini", std::string("bpp=") + bpp, "keeping 32"})) << r.log;
  }
  for (const char* bpp : {"16", "24", "32"}) {
    read_result r = settings_of(std::string("bpp=") + bpp + "\n", true);
    EXPECT_EQ(std::atoi(bpp), r.settings.bpp);
    EXPECT_EQ("", report_line(r.log, "WARNING:", {})) << r.log;
  }
  read_result gl8 = settings_of("bpp=8\n", true);
  EXPECT_EQ(32, gl8.settings.bpp);
}

TEST(HostileVideo, TheAcceptedEdgesRunAndARefusedDepthRunsAt32) {
  measured_run wide = run_with_ini("width=16383\nheight=2\n");
  EXPECT_EQ(0, wide.exit_status) << wide.err;
  EXPECT_LT(wide.peak_kb, 400L * 1024L + sanitizer_slack_kb);
  measured_run large = run_with_ini("width=1920\nheight=1200\n");
  EXPECT_EQ(0, large.exit_status) << large.err;
  EXPECT_LT(large.peak_kb, 600L * 1024L + sanitizer_slack_kb);
  // bpp=8 crashed SDL_gfx at the first zoomed draw.
  measured_run eight = run_with_ini("bpp=8\n");
  EXPECT_EQ(0, eight.exit_status) << eight.err;
  EXPECT_NE("", report_line(eight.out, "WARNING:", {"bpp=8"}));
}

TEST(HostileVideo, CheckReportsRefusedSettingsAndOversizePictures) {
  std::string dir = make_temp_dir("video_check");
  write_text_file(dir, "game/game.ini", "width=4096\nheight=4096\nbpp=16\nfps=60\n");
  // A header claiming 20000 x 20000 pixels (the title's logo): reported, never decoded.
  write_text_file(dir, "rsrc/dmk_logo2_640x480.png",
                  std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x4e\x20\0\0\x4e\x20\x08\x02\0\0\0", 29));
  measured_run r = run_measured({"--data-dir", dir, "--check"}, {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"});
  EXPECT_EQ(1, r.exit_status) << r.err;
  EXPECT_NE(std::string::npos, r.out.find("game\\game.ini:2: error: width=4096 height=4096 is more than")) << r.out;
  EXPECT_NE(std::string::npos, r.out.find("game\\game.ini:3: error: bpp=16 doesn't run in software mode")) << r.out;
  EXPECT_NE(std::string::npos,
            r.out.find("rsrc\\dmk_logo2_640x480.png:0: error: picture size [20000,20000] is over the limit"))
      << r.out;
  EXPECT_LT(r.peak_kb, 300L * 1024L + sanitizer_slack_kb);
}

// The fight's texts read on a 1080-line screen as they do on a 480-line one.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "app/fight/fight_text.h"
#include "app/fight/hud_scale.h"
#include "app/text_renderer.h"
#include "app/video.h"
#include "support/test_env.h"

namespace {

const char* system_font = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

struct text_box {
  int w = 0, h = 0;
};

TEST(FightTextSize, MessagesAndLabelsGrowWithTheScreenHeight) {
  ensure_video();
  if (!std::filesystem::exists(system_font)) GTEST_SKIP() << "no font on this machine";
  const std::string dir = make_temp_dir("fight_text");
  std::filesystem::copy_file(system_font, dir + "/tahoma.ttf");
  const std::string before = std::filesystem::current_path().string();
  ASSERT_EQ(chdir(dir.c_str()), 0);
  text_renderer text;
  text.create(g_video.screen);
  capture_stdout([&] { text.open_font("tahoma.ttf"); });
  text_renderer* saved_text = g_text;
  g_text = &text;

  auto measure_on = [](int screen_h, text_box& message, text_box& label) {
    SDL_Surface* saved = g_video.screen;
    SDL_Surface* tall = SDL_CreateRGBSurface(SDL_SWSURFACE, screen_h * 16 / 9, screen_h, 32, 0, 0, 0, 0);
    g_video.screen = tall;
    capture_stdout([&] {
      fight_text_size("Player 1 Wins (ESC to quit)", message.w, message.h);
      fight_label_size("Brela", label.w, label.h);
    });
    g_video.screen = saved;
    SDL_FreeSurface(tall);
  };
  text_box message480, label480, message1080, label1080, message360, label360;
  measure_on(480, message480, label480);
  measure_on(1080, message1080, label1080);
  measure_on(360, message360, label360);
  g_text = saved_text;
  text.destroy();
  ASSERT_EQ(chdir(before.c_str()), 0);

  // 1080 / 480 = 2.25 times, give or take the font's rounding.
  EXPECT_NEAR(2.25, static_cast<double>(message1080.h) / message480.h, 0.25);
  EXPECT_NEAR(2.25, static_cast<double>(message1080.w) / message480.w, 0.25);
  EXPECT_NEAR(2.25, static_cast<double>(label1080.h) / label480.h, 0.3);
  EXPECT_LT(label480.h, message480.h);  // labels stay the smaller text
  // Shorter screens keep the 480-line sizes.
  EXPECT_EQ(message480.h, message360.h);
  EXPECT_EQ(label480.h, label360.h);
}


}  // namespace

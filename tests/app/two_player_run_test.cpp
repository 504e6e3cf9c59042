// Two players at one keyboard, end to end on the bundled data: the second
// joins and picks on the select screen, then each fighter answers only its own
// player's keys. Headless, software mode.
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/run_game.h"
#include "support/test_env.h"

namespace {

// Frames 0-95 are the title fades; the select screen follows, the fight
// starts at frame 219.
const char* two_player_keys =
    "110 tab down\n114 tab up\n"  // the second player joins
    "120 d down\n124 d up\n"      // and moves to Kastrell
    "130 right down\n134 right up\n140 right down\n144 right up\n"  // the first to Morvane
    "150 return down\n154 return up\n"  // the first confirms and waits
    "165 tab down\n169 tab up\n"        // the second confirms
    "250 a down\n280 a up\n"            // the second walks left, alone
    "290 right down\n320 right up\n"    // the first walks right, alone
    "330 d down\n330 left down\n420 d up\n420 left up\n"  // they meet
    "420 tab down\n424 tab up\n"  // the second punches
    "440 i down\n444 i up\n"      // the first punches
    "460 escape down\n";

// x of `entry` in the trace line of `key` going `change` ("down" or "up").
int traced_x(const std::string& err, const std::string& key, const char* change, int entry) {
  const std::string needle =
      "key [" + key + "] " + change + ": entry [" + std::to_string(entry) + "] at [";
  const size_t at = err.find(needle);
  if (at == std::string::npos) return -1;
  return std::atoi(err.c_str() + at + needle.size());
}

// Frame of the first trace line after `from` containing `what`, or -1.
long traced_frame(const std::string& err, const std::string& what, size_t from = 0) {
  const size_t at = err.find(what, from);
  if (at == std::string::npos) return -1;
  const size_t line = err.rfind("fight trace: frame [", at);
  return line == std::string::npos ? -1 : std::strtol(err.c_str() + line + 20, nullptr, 10);
}

// Pixels that differ between two pictures of the same size, in the columns
// [x0, x1).
long differing_pixels(SDL_Surface* a, SDL_Surface* b, int x0, int x1) {
  long n = 0;
  for (int y = 0; y < a->h; ++y) {
    for (int x = x0; x < x1; ++x) {
      const Uint8* pa = static_cast<Uint8*>(a->pixels) + y * a->pitch + x * a->format->BytesPerPixel;
      const Uint8* pb = static_cast<Uint8*>(b->pixels) + y * b->pitch + x * b->format->BytesPerPixel;
      for (int c = 0; c < a->format->BytesPerPixel; ++c) {
        if (pa[c] != pb[c]) {
          ++n;
          break;
        }
      }
    }
  }
  return n;
}

TEST(TwoPlayerRun, BothPickAndEachFighterAnswersItsOwnKeys) {
  const std::string bundled = bundled_data_dir();
  if (bundled.empty()) GTEST_SKIP() << "the bundled data (build/data) is not there";
  // One endless fight: the timings below have no round introduction.
  const std::string data = without_match_keys(bundled);
  const std::string dir = make_temp_dir("two_players");
  write_text_file(dir, "keys.txt", two_player_keys);
  const std::string before = dir + "/before.png", alone = dir + "/alone.png", joined = dir + "/joined.png";
  game_run run = run_fight({"--data-dir", data, "--seed", "3", "--script", dir + "/keys.txt", "--frames", "700",
                            "--screenshot", "100:" + before, "--screenshot", "108:" + alone, "--screenshot",
                            "118:" + joined},
                           {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "GAME_FIGHT_TRACE=1"});
  const std::string& err = run.err;
  ASSERT_EQ(0, run.exit_status) << err;

  // The select screen named both players once the second joined, and the
  // second player's pick took the computer's place.
  const long first_label = traced_frame(err, "text [Player 2]");
  EXPECT_GT(first_label, 110) << err;
  EXPECT_LT(first_label, 120) << err;
  EXPECT_NE(std::string::npos, err.find("text [Player 1]"));
  const size_t kastrell = run.out.find("load config [game\\fighter\\kastrell_char.ini]");
  const size_t morvane = run.out.find("load config [game\\fighter\\morvane_char.ini]");
  ASSERT_NE(std::string::npos, kastrell) << run.out;
  EXPECT_LT(kastrell, morvane);
  EXPECT_EQ(std::string::npos, run.out.find("load config [game\\fighter\\brela_char.ini]"));

  // The second player's walk moved entry 0 only; the first's, entry 1 only.
  EXPECT_LT(traced_x(err, "a", "up", 0), traced_x(err, "a", "down", 0) - 100) << err;
  EXPECT_EQ(traced_x(err, "a", "up", 1), traced_x(err, "a", "down", 1)) << err;
  EXPECT_GT(traced_x(err, "right", "up", 1), traced_x(err, "right", "down", 1) + 100) << err;
  EXPECT_EQ(traced_x(err, "right", "up", 0), traced_x(err, "right", "down", 0)) << err;
  // Tab's punch landed on entry 1, then i's on entry 0.
  const long tab_hit = traced_frame(err, "entry [1] hp [", err.find("key [tab] down: entry [1]"));
  const long i_hit = traced_frame(err, "entry [0] hp [", err.find("key [i] down: entry [1]"));
  EXPECT_GE(tab_hit, 420) << err;
  EXPECT_LT(tab_hit, 440) << err;
  EXPECT_GE(i_hit, 440) << err;
  EXPECT_LT(i_hit, 460) << err;

  // On screen: the left of the select screen is still backdrop while one
  // player picks, and shows the second player's cursor once they joined.
  SDL_Surface* shots[3] = {IMG_Load(before.c_str()), IMG_Load(alone.c_str()), IMG_Load(joined.c_str())};
  for (SDL_Surface* s : shots) ASSERT_NE(nullptr, s) << err;
  const int left = shots[0]->w / 4;
  EXPECT_EQ(0, differing_pixels(shots[0], shots[1], 0, left));
  EXPECT_GT(differing_pixels(shots[1], shots[2], 0, left), left * shots[0]->h / 4);
  for (SDL_Surface* s : shots) SDL_FreeSurface(s);
}

}  // namespace

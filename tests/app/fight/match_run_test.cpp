// Whole matches played by key scripts, as a player would: knock-outs, the
// round clock, a drawn round, rematch, back to the select screen, pause with
// its move list, and quitting from every menu. Each run is checked from its
// log (match lines on standard output, the fight trace on standard error) and
// from screenshots. The trees are the bundled data at 20 frames a second, so
// a 10-second round is 200 frames; frames below were read off traced runs.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_game.h"
#include "support/test_env.h"

namespace {

namespace fs = std::filesystem;

struct file_edit {
  std::string file;  // relative to the tree, '/' separators
  std::string from, to;
};

// The bundled data with its own game.ini and some lines of other files changed.
std::string match_tree(const std::string& name, const std::string& game_ini, const std::vector<file_edit>& edits) {
  const std::string data = bundled_data_dir();
  if (data.empty()) return "";
  const std::string dir = make_temp_dir(name) + "/data";
  fs::copy(data, dir, fs::copy_options::recursive);
  write_text_file(dir + "/game", "game.ini", game_ini);
  for (const file_edit& e : edits) {
    std::string text = read_file(dir + "/" + e.file);
    const size_t at = text.find(e.from);
    EXPECT_NE(std::string::npos, at) << e.file << " has no " << e.from;
    if (at != std::string::npos) text.replace(at, e.from.size(), e.to);
    std::ofstream(dir + "/" + e.file, std::ios::binary | std::ios::trunc) << text;
  }
  return dir;
}

game_run play(const std::string& tree, int fighter, const std::string& keys, long frames,
              const std::vector<std::string>& shots = {}) {
  const std::string dir = make_temp_dir("match_keys");
  write_text_file(dir, "keys.txt", keys);
  std::vector<std::string> args = {"--data-dir", tree, "--software", "--no-limiter", "--seed", "3", "--fighter",
                                   std::to_string(fighter), "--script", dir + "/keys.txt", "--frames",
                                   std::to_string(frames)};
  for (const std::string& s : shots) {
    args.push_back("--screenshot");
    args.push_back(s);
  }
  return run_fight(args, {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "GAME_FIGHT_TRACE=1"});
}

// Frames (in order, each once) in which the fight trace shows `text`.
std::vector<long> frames_showing(const std::string& err, const std::string& text) {
  std::vector<long> frames;
  std::istringstream in(err);
  for (std::string line; std::getline(in, line);) {
    if (line.find("] text [" + text + "] at") == std::string::npos) continue;
    const long f = std::atol(line.c_str() + line.find('[') + 1);
    if (frames.empty() || frames.back() != f) frames.push_back(f);
  }
  return frames;
}

// Frame of the last trace line ending in `event`; -1 when there is none.
long frame_of(const std::string& err, const std::string& event) {
  const size_t at = err.rfind("] " + event);
  if (at == std::string::npos) return -1;
  const size_t open = err.rfind('[', at);
  return std::atol(err.c_str() + open + 1);
}

// Lines of standard output that a match prints, in order.
std::string match_lines(const std::string& out) {
  std::istringstream in(out);
  std::string kept;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("round [", 0) == 0 || line.rfind("match ", 0) == 0 || line.find("_char.ini]") != std::string::npos) {
      kept += line + "\n";
    }
  }
  return kept;
}

// Pixels of exactly (r, g, b) inside the rectangle.
int count_colour(const std::string& png, int x0, int y0, int x1, int y1, Uint8 r, Uint8 g, Uint8 b) {
  SDL_Surface* loaded = IMG_Load(png.c_str());
  if (!loaded) return -1;
  SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, loaded->w, loaded->h, 32, 0xFF0000, 0xFF00, 0xFF, 0);
  SDL_BlitSurface(loaded, nullptr, s, nullptr);
  SDL_FreeSurface(loaded);
  int n = 0;
  const Uint32* px = static_cast<const Uint32*>(s->pixels);
  for (int y = y0; y < y1 && y < s->h; ++y) {
    for (int x = x0; x < x1 && x < s->w; ++x) {
      const Uint32 p = px[y * (s->pitch / 4) + x];
      n += ((p >> 16) & 0xFF) == r && ((p >> 8) & 0xFF) == g && (p & 0xFF) == b;
    }
  }
  SDL_FreeSurface(s);
  return n;
}

const Uint8 big_text[3] = {255, 220, 60};  // "K.O.", "Round 1", ...
const Uint8 mark_won[3] = {255, 200, 40};  // a round mark under a name

// The computer (Brela) knocks out a one-point Kastrell twice: the match is
// Brela's. Character select, pick Morvane (also one point): the select screen
// comes back, the new fighter loads on the same stage, and a new match
// begins; after it, Quit ends the run.
TEST(MatchRun, KnockOutsWinTheMatchThenCharacterSelectPicksAgainAndQuitEnds) {
  const std::string tree = match_tree("match_ko", "fps=20\nrounds=2\n",
                                      {{"game/fighter/kastrell_char.ini", "hp=110", "hp=1"},
                                       {"game/fighter/morvane_char.ini", "hp=120", "hp=1"}});
  if (tree.empty()) GTEST_SKIP() << "no bundled data (GAME_DATA_DIR)";
  const std::string shot = make_temp_dir("match_ko_shots") + "/ko.png";
  const game_run run = play(tree, 1,
                            "360 down down\n362 down up\n366 return down\n368 return up\n"  // Character select
                            "460 right down\n464 right up\n470 right down\n474 right up\n480 return down\n"
                            "484 return up\n"                                                 // Morvane
                            "1040 down down\n1042 down up\n1044 down down\n1046 down up\n"
                            "1048 return down\n1050 return up\n",                             // Quit
                            1500, {"190:" + shot});
  ASSERT_EQ(0, run.exit_status) << run.err;
  EXPECT_EQ("load config [game\\fighter\\brela_char.ini]\nload config [game\\fighter\\kastrell_char.ini]\n"
            "round [1] begins\nround [1] won by entry [0]\nround [2] begins\nround [2] won by entry [0]\n"
            "match won by entry [0]\nload config [game\\fighter\\morvane_char.ini]\n"
            "round [1] begins\nround [1] won by entry [0]\nround [2] begins\nround [2] won by entry [0]\n"
            "match won by entry [0]\n",
            match_lines(run.out));
  EXPECT_FALSE(frames_showing(run.err, "Brela wins the match").empty());
  EXPECT_FALSE(frames_showing(run.err, "> Character select <").empty());
  // Character select leaves the fight in the frame it was chosen; Quit on
  // the second result menu ends the run in its frame, long before --frames.
  const size_t first_end = run.err.find("] fight ends");
  ASSERT_NE(std::string::npos, first_end);
  EXPECT_NE(std::string::npos, run.err.rfind("frame [367] fight ends", first_end)) << run.err.substr(first_end - 40, 60);
  EXPECT_GE(frame_of(run.err, "fight ends"), 1048);
  EXPECT_LE(frame_of(run.err, "fight ends"), 1050);
  // The K.O. of round 1, frozen: the big word, and entry 0's first mark won
  // under its name at the left; entry 1 has won nothing.
  EXPECT_EQ(frames_showing(run.err, "K.O.").front(), 168);
  EXPECT_GT(count_colour(shot, 200, 120, 440, 200, big_text[0], big_text[1], big_text[2]), 200);
  EXPECT_GT(count_colour(shot, 0, 20, 40, 60, mark_won[0], mark_won[1], mark_won[2]), 30);
  EXPECT_EQ(0, count_colour(shot, 600, 20, 640, 60, mark_won[0], mark_won[1], mark_won[2]));
}

// P pauses: the picture stands still, the move list shows Kastrell's combos
// as keys, P resumes, and the clock has stopped for as long: the round ends
// on "Time" 200 fighting frames after "Fight!", plus the paused ones. The
// result's Rematch starts round 1 again; P, Quit and Yes on the pause menu
// end the run. Menus take keys half a second after they show.
TEST(MatchRun, PauseFreezesTheFightAndTheClockThenTimeRematchAndQuitFromPause) {
  const std::string tree = match_tree("match_pause", "fps=20\nrounds=1\nround_time=10\n", {});
  if (tree.empty()) GTEST_SKIP() << "no bundled data (GAME_DATA_DIR)";
  const std::string shots = make_temp_dir("match_pause_shots");
  const game_run run = play(tree, 1,
                            "150 p down\n152 p up\n164 down down\n166 down up\n168 return down\n"
                            "170 return up\n174 return down\n176 return up\n180 p down\n182 p up\n"
                            "420 return down\n422 return up\n"                              // Rematch
                            "460 p down\n462 p up\n472 down down\n474 down up\n476 down down\n"
                            "478 down up\n480 return down\n482 return up\n"                // Quit
                            "484 up down\n486 up up\n488 return down\n490 return up\n",   // Yes
                            900, {"153:" + shots + "/a.png", "157:" + shots + "/b.png", "200:" + shots + "/c.png"});
  ASSERT_EQ(0, run.exit_status) << run.err;
  EXPECT_EQ("load config [game\\fighter\\brela_char.ini]\nload config [game\\fighter\\kastrell_char.ini]\n"
            "round [1] begins\nround [1] won by entry [0]\nmatch won by entry [0]\nround [1] begins\n",
            match_lines(run.out));
  // Nothing moved between two paused frames; the fight moves again after.
  EXPECT_EQ(read_file(shots + "/a.png"), read_file(shots + "/b.png"));
  EXPECT_NE(read_file(shots + "/a.png"), read_file(shots + "/c.png"));
  EXPECT_FALSE(frames_showing(run.err, "Special move: down, right, k").empty()) << run.err;
  // No health changes while paused.
  for (long f = 150; f < 180; ++f) {
    EXPECT_EQ(std::string::npos, run.err.find("frame [" + std::to_string(f) + "] entry [")) << f;
  }
  const std::vector<long> paused = frames_showing(run.err, "Paused");
  const std::vector<long> fight = frames_showing(run.err, "Fight!");
  const std::vector<long> time = frames_showing(run.err, "Time");
  ASSERT_FALSE(time.empty());
  ASSERT_FALSE(fight.empty());
  const long first_pause_of_round_2 = 460;
  long paused_in_round_1 = 0;
  for (long f : paused) paused_in_round_1 += f < first_pause_of_round_2;
  EXPECT_EQ(30, paused_in_round_1);
  EXPECT_EQ(fight.front() + 10 + 200 + paused_in_round_1, time.front());
  const long end = frame_of(run.err, "fight ends");
  EXPECT_GE(end, 488);
  EXPECT_LE(end, 491);
}

// Two frozen fighters who can't hurt each other: every round is drawn, and a
// drawn round counts for both, so the match of one round to win ends drawn:
// "Draw game" over the result menu, whose Quit ends the run.
TEST(MatchRun, AMatchThatCanOnlyDrawEndsDrawnWithTheResultMenu) {
  const std::string tree = match_tree("match_draw", "fps=20\nrounds=1\nround_time=10\n",
                                      {{"game/fighter/brela_char.ini", "speed=0.28", "speed=0"},
                                       {"game/fighter/brela/special.ini", "fire2=1", "fire2=0"}});
  if (tree.empty()) GTEST_SKIP() << "no bundled data (GAME_DATA_DIR)";
  const game_run run = play(tree, 0, "400 up down\n402 up up\n404 return down\n406 return up\n", 900);
  ASSERT_EQ(0, run.exit_status) << run.err;
  EXPECT_EQ("load config [game\\fighter\\brela_char.ini]\nload config [game\\fighter\\brela_char.ini]\n"
            "round [1] begins\nround [1] drawn\nmatch drawn\n",
            match_lines(run.out));
  const std::vector<long> draw_game = frames_showing(run.err, "Draw game");
  ASSERT_FALSE(draw_game.empty());
  EXPECT_FALSE(frames_showing(run.err, "> Rematch <").empty());
  EXPECT_TRUE(frames_showing(run.err, "Round 2").empty());
  const long end = frame_of(run.err, "fight ends");
  EXPECT_GE(end, 404);
  EXPECT_LE(end, 406);
}

// SPACE punches and confirms. Mashed through the last K.O., the round's end
// and the result menu's first moments, it chooses nothing: the menu takes
// input only once it has been on screen half a second, and a key pressed
// during that lock counts only when pressed again. Then SPACE rematches.
TEST(MatchRun, APunchMashedAsTheResultMenuAppearsChoosesNothing) {
  const std::string tree = match_tree("match_mash", "fps=20\nrounds=1\n",
                                      {{"game/fighter/kastrell_char.ini", "hp=110", "hp=1"}});
  if (tree.empty()) GTEST_SKIP() << "no bundled data (GAME_DATA_DIR)";
  std::string keys;
  for (int f = 100; f < 214; f += 2) keys += std::to_string(f) + (f % 4 == 0 ? " space down\n" : " space up\n");
  keys += "214 space down\n300 space up\n310 space down\n312 space up\n";  // held past the lock
  const game_run run = play(tree, 1, keys, 330);
  ASSERT_EQ(0, run.exit_status) << run.err;
  const size_t won = run.out.find("match won by entry [0]\n");
  ASSERT_NE(std::string::npos, won) << run.out;
  const long menu_from = frames_showing(run.err, "> Rematch <").front();
  EXPECT_LT(menu_from, 212) << "the menu must show while SPACE is still mashed";
  // Still the result menu until SPACE is pressed after the lock: the
  // rematch's "Round 1" shows from that frame on.
  long rematch = -1;
  for (long f : frames_showing(run.err, "Round 1")) {
    if (f > menu_from && rematch < 0) rematch = f;
  }
  EXPECT_GE(rematch, 310);
  EXPECT_LE(rematch, 313);
}

// Escape in a match pauses (it used to end the run); on the pause menu it
// resumes. Quit asks "Quit the match?": No goes back, Yes ends the run. A
// quit request while paused ends it too.
TEST(MatchRun, EscapePausesAMatchAndQuitAsksFirst) {
  const std::string tree = match_tree("match_escape", "fps=20\nrounds=2\n", {});
  if (tree.empty()) GTEST_SKIP() << "no bundled data (GAME_DATA_DIR)";
  const std::string keys =
      "200 escape down\n202 escape up\n"                                     // pause
      "220 escape down\n222 escape up\n"                                     // resume
      "240 escape down\n242 escape up\n254 down down\n256 down up\n258 down down\n260 down up\n"
      "262 return down\n264 return up\n"                                     // Quit: asks
      "266 return down\n268 return up\n"                                     // No (the cursor's choice)
      "270 return down\n272 return up\n274 up down\n276 up up\n278 return down\n280 return up\n";  // Yes
  const game_run run = play(tree, 1, keys, 400);
  ASSERT_EQ(0, run.exit_status) << run.err;
  const std::vector<long> paused = frames_showing(run.err, "Paused");
  ASSERT_FALSE(paused.empty());
  EXPECT_EQ(200, paused.front());
  EXPECT_EQ(std::string::npos, run.err.find("frame [225] text [Paused]")) << "Escape on the menu resumes";
  const std::vector<long> asked = frames_showing(run.err, "Quit the match?");
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(262, asked.front());
  EXPECT_FALSE(frames_showing(run.err, "> Resume <").empty());
  EXPECT_NE(std::string::npos, run.err.find("frame [267] text [> Quit <]")) << "No goes back to the pause menu";
  const long end = frame_of(run.err, "fight ends");
  EXPECT_GE(end, 278);
  EXPECT_LE(end, 280);

  const game_run closed = play(tree, 1, "200 escape down\n202 escape up\n210 quit down\n", 400);
  EXPECT_EQ(0, closed.exit_status);
  EXPECT_LE(frame_of(closed.err, "fight ends"), 212);
}

}  // namespace

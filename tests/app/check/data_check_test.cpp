// `--check` on the bundled data and on copies with planted faults: every
// finding is listed as FILE:LINE: error|warning|note: ..., at the line of the
// key at fault, sorted by file and line, then the summary line; the exit
// status is 1 exactly when there is an error. Needs the bundled data
// (GAME_DATA_DIR, or the data tree beside the game's build).
#include <SDL.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "app/check/data_check_keys.h"
#include "app/measured_run.h"
#include "support/run_game.h"
#include "support/test_env.h"

namespace fs = std::filesystem;

namespace {

std::string copy_of_data(const std::string& from) {
  std::string dir = make_temp_dir("check");
  fs::copy(from, dir, fs::copy_options::recursive);
  return dir;
}

std::string read_text(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Replaces the first `from` in the file by `to`; false when `from` is absent.
bool edit(const fs::path& p, const std::string& from, const std::string& to) {
  std::string text = read_text(p);
  size_t at = text.find(from);
  if (at == std::string::npos) return false;
  text.replace(at, from.size(), to);
  std::ofstream(p, std::ios::binary) << text;
  return true;
}

// Sets the line "key=..." of the file to "key=value"; false when no line starts so.
bool set_key(const fs::path& p, const std::string& key, const std::string& value) {
  std::istringstream in(read_text(p));
  std::string out, line;
  bool found = false;
  while (std::getline(in, line)) {
    if (!found && line.compare(0, key.size() + 1, key + "=") == 0) {
      line = key + "=" + value;
      found = true;
    }
    out += line + "\n";
  }
  std::ofstream(p, std::ios::binary) << out;
  return found;
}

void append(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary | std::ios::app) << text; }

// The line (from 1) of the first line of the file holding `text`; 0 when none does.
int line_of(const fs::path& p, const std::string& text) {
  std::istringstream in(read_text(p));
  std::string line;
  for (int n = 1; std::getline(in, line); ++n) {
    if (line.find(text) != std::string::npos) return n;
  }
  return 0;
}

// "FILE:LINE: SEVERITY: " as the checker prints it.
std::string at(const std::string& file, int line, const char* severity) {
  return file + ":" + std::to_string(line) + ": " + severity + ": ";
}

// A 4 x 4 opaque red picture (BMP bytes; the picture loader goes by content).
void write_opaque_picture(const fs::path& p) {
  SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 4, 32, 0xFF0000, 0xFF00, 0xFF, 0);
  ASSERT_NE(nullptr, s);
  SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 255, 0, 0));
  ASSERT_EQ(0, SDL_SaveBMP(s, p.string().c_str()));
  SDL_FreeSurface(s);
}

game_run check(const std::string& dir, bool notes = false) {
  std::vector<std::string> args = {"--data-dir", dir, "--check"};
  if (notes) args.push_back("--notes");
  return run_fight(args, {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"});
}

// The finding lines of a run, in printed order.
std::vector<std::string> findings(const std::string& out) {
  std::vector<std::string> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) {
    if (line.find(": error: ") != std::string::npos || line.find(": warning: ") != std::string::npos ||
        line.find(": note: ") != std::string::npos) {
      lines.push_back(line);
    }
  }
  return lines;
}

// The finding that starts with `prefix` and holds `text`; "" when none does.
std::string finding(const std::vector<std::string>& lines, const std::string& prefix, const std::string& text = "") {
  for (const std::string& line : lines) {
    if (line.compare(0, prefix.size(), prefix) == 0 && line.find(text, prefix.size()) != std::string::npos) return line;
  }
  return "";
}

// True when the findings are in file order, and in line order within a file.
bool sorted_by_file_and_line(const std::vector<std::string>& lines) {
  std::vector<std::pair<std::string, int>> keys;
  for (const std::string& line : lines) {
    const size_t colon = line.find(':');
    keys.emplace_back(line.substr(0, colon), std::atoi(line.c_str() + colon + 1));
  }
  return std::is_sorted(keys.begin(), keys.end());
}

const char* const stage_file = "rsrc\\veltmoore\\stage_veltmoore.ini";

}  // namespace

TEST(DataCheck, BundledDataChecksCleanAtEveryScreenSize) {
  std::string data = bundled_data_dir();
  if (data.empty()) GTEST_SKIP() << "no bundled data (run scripts/make_data.sh)";
  game_run run = check(data);
  EXPECT_EQ(0, run.exit_status) << run.out;
  EXPECT_EQ(std::vector<std::string>{}, findings(run.out)) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("\n0 errors, 0 warnings in ")) << run.out;
  // No window was opened on the way.
  EXPECT_EQ(std::string::npos, run.out.find("Is it possible to  create hardware surfaces?"));

  // The stage's findings are for game.ini's screen: every piece is drawn and
  // the screen covered at the larger sizes too.
  fs::path dir = copy_of_data(data);
  for (const char* size : {"width=1280\nheight=720\n", "width=1920\nheight=1080\n"}) {
    std::ofstream(dir / "game/game.ini") << size;
    game_run big = check(dir.string());
    EXPECT_EQ(std::vector<std::string>{}, findings(big.out)) << size << big.out;
  }
}

TEST(DataCheck, ListsEveryPlantedErrorAtItsKeysLineInOrder) {
  std::string data = bundled_data_dir();
  if (data.empty()) GTEST_SKIP() << "no bundled data (run scripts/make_data.sh)";
  fs::path dir = copy_of_data(data);
  const fs::path brela = dir / "game/fighter/brela_char.ini", morvane = dir / "game/fighter/morvane_char.ini",
                 kastrell = dir / "game/fighter/kastrell_char.ini", stage = dir / "rsrc/veltmoore/stage_veltmoore.ini",
                 punch = dir / "game/fighter/dravitz/punch.ini", settings = dir / "game/game.ini";
  // A missing animation file
  fs::remove(dir / "game/fighter/kastrell/kick.ini");
  // A missing move slot
  ASSERT_TRUE(edit(brela, "moves=16", "moves=15"));
  // An unknown control name in a combo
  ASSERT_TRUE(edit(morvane, "combo0move0=punch", "combo0move0=jump"));
  // A picture index outside the background set
  ASSERT_TRUE(edit(stage, "part0parallax1=2", "part0parallax1=9"));
  // A sprite without the key colour: drawn whole, nothing wrong (a note with --notes)
  write_opaque_picture(dir / "rsrc/dravitz/stand.png");
  // A sound that doesn't load
  std::ofstream(dir / "rsrc/sfx/hit.wav", std::ios::binary) << "not a sound";
  // A frame count out of range
  ASSERT_TRUE(edit(punch, "images=4", "images=-1"));
  // A setting out of range
  ASSERT_TRUE(edit(settings, "fps=60", "fps=500"));
  // A missing sortie file
  fs::remove(dir / "rsrc/veltmoore/sortie0.ini");
  // A missing posture picture, a missing knocked-out picture
  fs::remove(dir / "rsrc/morvane/crouch.png");
  fs::remove(dir / "rsrc/kastrell/knocked_out.png");

  game_run run = check(dir.string());
  EXPECT_EQ(1, run.exit_status);
  const std::string expected[] = {
      at("game\\fighter\\brela_char.ini", line_of(brela, "moves=15"), "error") + "move slot 15 is missing (move15)",
      at("game\\fighter\\dravitz\\punch.ini", line_of(punch, "images=-1"), "error") + "images=-1 is outside 0..1000",
      at("game\\fighter\\kastrell_char.ini", line_of(kastrell, "move3="), "error") +
          "move3=game\\fighter\\kastrell\\kick.ini: missing file",
      at("game\\fighter\\kastrell_char.ini", line_of(kastrell, "knocked_out="), "error") +
          "knocked_out=rsrc\\kastrell\\knocked_out.png: missing picture",
      at("game\\fighter\\morvane_char.ini", line_of(morvane, "image2="), "error") +
          "image2=rsrc\\morvane\\crouch.png: missing picture",
      at("game\\fighter\\morvane_char.ini", line_of(morvane, "combo0move0=jump"), "error") +
          "combo0move0=jump is not a control (up, noup, down, left, right, punch, kick)",
      at("game\\game.ini", line_of(settings, "fps=500"), "error") + "fps=500 is outside 1..200",
      at("rsrc\\sfx\\hit.wav", 0, "error") + "sound doesn't load (named by game\\fighter\\",
      at(stage_file, line_of(stage, "part0parallax1=9"), "error") +
          "part0parallax1=9 is not a picture of the background set (0..3)",
      at(stage_file, line_of(stage, "part0sortie="), "error") + "part0sortie=rsrc\\veltmoore\\sortie0.ini: missing file",
  };
  const std::vector<std::string> lines = findings(run.out);
  for (const std::string& line : expected) EXPECT_NE("", finding(lines, line)) << line << "\n" << run.out;
  // Nothing else: exactly the planted faults (the broken sound is named by several animations but listed
  // once, the opaque sprite not at all).
  EXPECT_EQ(sizeof expected / sizeof expected[0], lines.size()) << run.out;
  EXPECT_TRUE(sorted_by_file_and_line(lines)) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("\n10 errors, 0 warnings in ")) << run.out;
}

TEST(DataCheck, AuthorsSlipsAreWarningsAtTheirLines) {
  std::string data = bundled_data_dir();
  if (data.empty()) GTEST_SKIP() << "no bundled data (run scripts/make_data.sh)";
  fs::path dir = copy_of_data(data);
  const fs::path settings = dir / "game/game.ini", dravitz = dir / "game/fighter/dravitz_char.ini",
                 special = dir / "game/fighter/dravitz/special.ini", kick = dir / "game/fighter/dravitz/kick.ini",
                 punch = dir / "game/fighter/brela/punch.ini";
  const std::string dravitz_name = "game\\fighter\\dravitz_char.ini";
  std::ofstream(settings) << "width=640\nheight=480\nscael=2\nrounds=12\nsmooth=1\nscale=9\n";  // a typo, values out of range
  append(dravitz, "combo0mvoe1=up\n# fast\n");                   // a typo, would-be comments
  ASSERT_TRUE(edit(dravitz, "combo1move0=right", "combo1move0=left"));  // a combo that can never start
  ASSERT_TRUE(edit(dravitz, "combo2moves=3", "combo2moves=0"));         // a combo without steps
  ASSERT_TRUE(edit(special, "flash2=160", "flash2=300"));
  ASSERT_TRUE(edit(special, "flashrate2=16", "flashrate2=-4"));
  append(kick, "rate0=9\nloop=1");  // a repeated key, then a last line without a line break
  ASSERT_TRUE(edit(punch, "rate0=", "rate0=-3\nrate0="));  // the new first one wins over the old

  game_run run = check(dir.string());
  EXPECT_EQ(0, run.exit_status) << run.out;
  const std::string expected[] = {
      at("game\\fighter\\brela\\punch.ini", line_of(punch, "rate0=") + 1, "warning") +
          "rate0 is set again, after line " + std::to_string(line_of(punch, "rate0=")) +
          ": the first one wins, so rate0=",
      at(dravitz_name, line_of(dravitz, "combo1move0=left"), "warning") +
          "combo 1 starts with left, which needs down released and left pressed at once",
      at(dravitz_name, line_of(dravitz, "combo2moves=0"), "warning") +
          "combo 2 has no step the game can bind, so it can never be entered",
      at(dravitz_name, line_of(dravitz, "combo0mvoe1=up"), "warning") +
          "combo0mvoe1: the game never reads this key in this kind of file; did you mean combo0move1?",
      at(dravitz_name, line_of(dravitz, "# fast"), "warning") + "#: the game never reads this key in this kind of file\n",
      at(dravitz_name, line_of(dravitz, "# fast"), "warning") + "fast: the game never reads this key",
      at("game\\fighter\\dravitz\\kick.ini", line_of(kick, "rate0=9"), "warning") +
          "rate0 is set again, after line " + std::to_string(line_of(kick, "rate0=4")) +
          ": the first one wins, so rate0=9 here is ignored",
      at("game\\fighter\\dravitz\\kick.ini", line_of(kick, "loop=1"), "warning") +
          "loop=1 is the file's last text and no line break follows it, so the game drops it",
      at("game\\fighter\\dravitz\\special.ini", line_of(special, "flash2=300"), "warning") +
          "flash2=300 is outside 0..255: the stage uses only its low byte, a flash of 44",
      at("game\\fighter\\dravitz\\special.ini", line_of(special, "flashrate2=-4"), "warning") +
          "flashrate2=-4 is negative: the flash grows instead of fading",
      at("game\\game.ini", line_of(settings, "scael=2"), "warning") +
          "scael: the game never reads this key in this kind of file; did you mean scale?",
      at("game\\game.ini", line_of(settings, "rounds=12"), "warning") +
          "rounds=12 is outside 1..9: the game ignores it and keeps one endless fight\n",
      at("game\\game.ini", line_of(settings, "scale=9"), "warning") +
          "scale=9 is outside 1..8: the game ignores it and keeps a window of scale 1\n",
  };
  const std::vector<std::string> lines = findings(run.out + "\n");
  std::string all;
  for (const std::string& line : lines) all += line + "\n";
  for (const std::string& line : expected) EXPECT_NE(std::string::npos, all.find(line)) << line << "\n" << all;
  EXPECT_EQ(sizeof expected / sizeof expected[0], lines.size()) << all;
  EXPECT_TRUE(sorted_by_file_and_line(lines)) << all;
  EXPECT_NE(std::string::npos, run.out.find("\n0 errors, 13 warnings in ")) << run.out;
}

// One file named as several kinds is checked as each: a name already checked
// as one kind is no excuse to skip it as another.
TEST(DataCheck, EachNameIsCheckedAsEveryKindThatNamesIt) {
  std::string data = bundled_data_dir();
  if (data.empty()) GTEST_SKIP() << "no bundled data (run scripts/make_data.sh)";
  fs::path dir = copy_of_data(data);
  const fs::path kastrell = dir / "game/fighter/kastrell_char.ini", morvane = dir / "game/fighter/morvane_char.ini",
                 punch = dir / "game/fighter/dravitz/punch.ini";
  ASSERT_TRUE(set_key(kastrell, "knocked_out", "game\\game.ini"));                 // settings as a picture
  ASSERT_TRUE(set_key(punch, "image1", "game\\fighter\\dravitz\\punch.ini"));    // an animation as a frame
  ASSERT_TRUE(set_key(morvane, "move3", "rsrc\\morvane\\stand.png"));             // a posture as a move

  game_run run = check(dir.string());
  EXPECT_EQ(1, run.exit_status) << run.out;
  const std::string expected[] = {
      at("game\\fighter\\dravitz\\punch.ini", 0, "error") + "picture doesn't load (named by " +
          "game\\fighter\\dravitz\\punch.ini:" + std::to_string(line_of(punch, "image1=")) + "): ",
      at("game\\fighter\\morvane_char.ini", line_of(morvane, "move3="), "error") +
          "move3=rsrc\\morvane\\stand.png: a PNG picture, not a key=value file: the game reads no keys from it",
      at("game\\game.ini", 0, "error") + "picture doesn't load (named by game\\fighter\\kastrell_char.ini:" +
          std::to_string(line_of(kastrell, "knocked_out=")) + "): ",
  };
  const std::vector<std::string> lines = findings(run.out);
  for (const std::string& line : expected) EXPECT_NE("", finding(lines, line)) << line << "\n" << run.out;
  EXPECT_EQ(sizeof expected / sizeof expected[0], lines.size()) << run.out;
}

// Combos that get in each other's way, a costume that finds nothing to
// recolour (and, a note, one that misses some colours), and a name the fight
// can't show as written.
TEST(DataCheck, WarnsOfCombosInEachOthersWayALostCostumeAndAnOddName) {
  std::string data = bundled_data_dir();
  if (data.empty()) GTEST_SKIP() << "no bundled data (run scripts/make_data.sh)";
  fs::path dir = copy_of_data(data);
  const fs::path dravitz = dir / "game/fighter/dravitz_char.ini", brela = dir / "game/fighter/brela_char.ini";
  // Dravitz's combos are 0: down, up; 1: right, down, kick; 2: down, punch, right.
  ASSERT_TRUE(set_key(dravitz, "combos", "5"));
  append(dravitz, "combo3move=1\ncombo3moves=2\ncombo3move0=down\ncombo3move1=up\n"
                  "combo4move=3\ncombo4moves=2\ncombo4move0=right\ncombo4move1=down\nname=Nova\n");
  append(brela, "name=" + std::string(30, 'B') + "\n");
  // Kastrell repainted without any costume colour, Morvane with one of them.
  write_solid_picture(dir.string(), "rsrc/plain/green.png", 8, 8, 0, 255, 0);
  write_solid_picture(dir.string(), "rsrc/plain/lilac.png", 8, 8, 252, 244, 255);
  write_text_file(dir.string(), "game/fighter/plain/still.ini", "images=1\nimage0=rsrc\\plain\\green.png\n");
  std::string plain = "hp=100\nmoves=16\n";
  for (int i = 0; i < 16; ++i) plain += "move" + std::to_string(i) + "=game\\fighter\\plain\\still.ini\n";
  plain += "images=9\n";
  for (int i = 0; i < 9; ++i) plain += "image" + std::to_string(i) + "=rsrc\\plain\\green.png\n";
  std::ofstream(dir / "game/fighter/kastrell_char.ini") << plain;
  std::ofstream(dir / "game/fighter/morvane_char.ini") << plain << "knocked_out=rsrc\\plain\\lilac.png\n";

  game_run run = check(dir.string(), true);
  EXPECT_EQ(0, run.exit_status) << run.out;
  const std::string expected[] = {
      at("game\\fighter\\brela_char.ini", line_of(brela, "name="), "warning") + "name=" + std::string(30, 'B') +
          " is shown as \"" + std::string(24, 'B') + "\": at most 24 printable characters\n",
      at("game\\fighter\\dravitz_char.ini", line_of(dravitz, "combo3moves="), "warning") +
          "combo 3 has the same steps as combo 0 (line " + std::to_string(line_of(dravitz, "combo0moves=")) +
          "): down, up; one entry fires both, and combo 3's move replaces combo 0's\n",
      at("game\\fighter\\dravitz_char.ini", line_of(dravitz, "combo4moves="), "warning") +
          "combo 4 (right, down) is the start of combo 1 (line " + std::to_string(line_of(dravitz, "combo1moves=")) +
          ": right, down, kick): entering combo 1 fires combo 4 too\n",
      at("game\\fighter\\kastrell_char.ini", 0, "warning") +
          "none of the fighter's 1 picture holds a colour the player's costume replaces ((252,244,255), "
          "(166,154,204), (91,74,97), (41,31,50), (160,124,145)): the player's fighter looks the same as the "
          "computer's\n",
      at("game\\fighter\\morvane_char.ini", 0, "note") +
          "none of the fighter's 2 pictures holds the costume colours (166,154,204), (91,74,97), (41,31,50), "
          "(160,124,145): the player's costume leaves them unchanged\n",
  };
  std::string all;
  for (const std::string& line : findings(run.out)) all += line + "\n";
  for (const std::string& line : expected) EXPECT_NE(std::string::npos, all.find(line)) << line << "\n" << all;
  EXPECT_NE(std::string::npos, run.out.find("\n0 errors, 4 warnings in ")) << run.out;
}

TEST(DataCheck, NotesListFilesNothingRefersTo) {
  std::string data = bundled_data_dir();
  if (data.empty()) GTEST_SKIP() << "no bundled data (run scripts/make_data.sh)";
  fs::path dir = copy_of_data(data);
  write_solid_picture(dir.string(), "rsrc/dravitz/unused.png", 4, 4, 0, 255, 0);
  write_opaque_picture(dir / "rsrc/dravitz/stand.png");
  fs::copy(dir / "rsrc/sfx/hit.wav", dir / "rsrc/sfx/spare.wav");
  fs::copy(dir / "game/fighter/dravitz/kick.ini", dir / "game/fighter/dravitz/kick_old.ini");

  game_run plain = check(dir.string());
  EXPECT_EQ(std::string::npos, plain.out.find(": note: ")) << plain.out;
  game_run run = check(dir.string(), true);
  EXPECT_EQ(0, run.exit_status) << run.out;
  std::vector<std::string> notes;
  for (const std::string& line : findings(run.out)) {
    if (line.find(": note: ") != std::string::npos) notes.push_back(line);
  }
  const std::vector<std::string> expected = {
      "game\\fighter\\dravitz\\kick_old.ini:0: note: nothing refers to this key=value file",
      // Kastrell doesn't wear the costume's lavender: a choice, not a slip.
      "game\\fighter\\kastrell_char.ini:0: note: none of the fighter's 53 pictures holds the costume colour "
      "(166,154,204): the player's costume leaves it unchanged",
      "rsrc\\dravitz\\stand.png:0: note: picture has no pixel of the key colour (0,255,0), so nothing of it is "
      "transparent",
      "rsrc\\dravitz\\unused.png:0: note: nothing refers to this picture",
      "rsrc\\sfx\\spare.wav:0: note: nothing refers to this sound",
  };
  EXPECT_EQ(expected, notes) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("\n0 errors, 0 warnings in ")) << run.out;
}

namespace {

// Folders nested `depth` deep under `root`, each name 200 characters long:
// the whole path is far longer than the system lets one name be.
void nest_folders(const std::string& root, int depth) {
  const std::string name(200, 'f');
  int fd = open(root.c_str(), O_RDONLY | O_DIRECTORY);
  for (int i = 0; i < depth && fd >= 0; ++i) {
    ASSERT_EQ(0, mkdirat(fd, name.c_str(), 0700));
    const int down = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
    close(fd);
    fd = down;
  }
  ASSERT_GE(fd, 0);
  close(fd);
}

}  // namespace

// `--check --notes` walks the whole data directory: its memory grows with the
// number of folders, not with the square of their depth.
TEST(DataCheck, NotesOnDeeplyNestedFoldersTakeMemoryInProportion) {
  long peak_kb[2] = {0, 0};
  const int depth[2] = {200, 400};
  for (int i = 0; i < 2; ++i) {
    const std::string dir = make_temp_dir("check_deep");
    nest_folders(dir, depth[i]);
    measured_run run =
        run_measured({"--data-dir", dir, "--check", "--notes"}, {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"});
    EXPECT_EQ(1, run.exit_status) << run.err;  // nothing of the game is there
    EXPECT_NE(std::string::npos, run.out.find(" errors, 0 warnings in ")) << run.out;
    peak_kb[i] = run.peak_kb;
    std::system(("rm -rf '" + dir + "'").c_str());
  }
  // Quadratic growth took 62 MB more for the deeper tree.
  EXPECT_LT(peak_kb[1] - peak_kb[0], 8 * 1024) << peak_kb[0] << " KB at depth 200, " << peak_kb[1] << " KB at 400";
}

TEST(DataCheck, AnEmptyDirectoryListsTheMissingFilesAndNeedsNoDisplay) {
  std::string dir = make_temp_dir("check_empty");
  game_run run = run_fight({"--data-dir", dir, "--check"}, {"DISPLAY=", "SDL_VIDEODRIVER=", "SDL_AUDIODRIVER="});
  EXPECT_EQ(1, run.exit_status);
  EXPECT_NE(std::string::npos, run.out.find("\ngame\\game.ini:0: error: missing file"));
  EXPECT_NE(std::string::npos, run.out.find("\ngame\\fighter\\brela_char.ini:0: error: missing file (loaded by the roster)"));
  EXPECT_NE(std::string::npos, run.out.find("\nrsrc\\veltmoore\\stage_veltmoore.ini:0: error: missing file"));
}

TEST(DataCheckKeys, KnowsEachKindsKeysAndSuggestsTheNearest) {
  EXPECT_TRUE(is_known_key("combo12move3", data_file_kind::character));
  EXPECT_TRUE(is_known_key("round_time", data_file_kind::settings));
  EXPECT_FALSE(is_known_key("image07", data_file_kind::animation));  // the game asks for image7
  EXPECT_FALSE(is_known_key("image", data_file_kind::animation));
  EXPECT_FALSE(is_known_key("loop", data_file_kind::character));  // an animation's key
  EXPECT_EQ("combo0move1", nearest_known_key("combo0mvoe1", data_file_kind::character));
  EXPECT_EQ("part2parallax1", nearest_known_key("part2paralax1", data_file_kind::level));
  EXPECT_EQ("flashrate3", nearest_known_key("flashrat3", data_file_kind::animation));
  EXPECT_EQ("", nearest_known_key("colour", data_file_kind::animation));
}

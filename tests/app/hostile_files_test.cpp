// Data names that must not be opened: pipes, directories, files over their
// kind's size cap, and names leading out of the data directory (".." above
// it, absolute paths, symbolic links). Each gives one ERROR line naming the
// data file and the key, in the loaders and in --check, and nothing waits on
// a pipe. One file spelled many ways is decoded once.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "anim/animation.h"
#include "support/hostile_support.h"
#include "app/text_renderer.h"
#include "core/data_path.h"
#include "fighter/lifeform.h"
#include "gfx/img_mgr.h"
#include "support/run_game.h"
#include "support/test_env.h"
#include "support/confined_data.h"

namespace fs = std::filesystem;

namespace {

int count_of(const std::string& text, const std::string& needle) {
  int n = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The game in a child process, killed after `seconds`: a read that blocks
// fails the test instead of hanging the suite. exit_status is -1 when killed.
game_run run_killed_after(int seconds, const std::vector<std::string>& args) {
  const std::string dir = make_temp_dir("files_run");
  std::string command = "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout -s KILL " + std::to_string(seconds) +
                        " '" + fight_executable() + "'";
  for (const std::string& a : args) command += " '" + a + "'";
  command += " >'" + dir + "/out' 2>'" + dir + "/err' </dev/null";
  const int status = std::system(command.c_str());
  game_run run;
  run.exit_status = WIFEXITED(status) && WEXITSTATUS(status) < 124 ? WEXITSTATUS(status) : -1;
  run.out = read_file(dir + "/out");
  run.err = read_file(dir + "/err");
  return run;
}

}  // namespace

TEST(HostileFiles, LoadersRefuseWhatTheyMustNotOpenNamingFileAndKey) {
  ensure_video();
  const std::string outside = make_temp_dir("files_outside");
  write_solid_picture(outside, "x.png", 8, 8, 0, 255, 0);
  write_text_file(outside, "x.ini", "images=0\n");
  const std::string root = make_temp_dir("files_root");
  write_solid_picture(root, "rsrc/files_ok.png", 10, 20, 0, 255, 0);
  fs::create_directory(root + "/fonts");
  fs::create_symlink(outside + "/x.png", root + "/rsrc/files_out.png");
  for (const char* big : {"rsrc/files_big.png", "rsrc/files_big.wav"}) {
    write_text_file(root, big, "");
    fs::resize_file(root + "/" + big, max_picture_file_bytes + 1);  // sparse
  }
  write_text_file(root, "anim.ini", "images=1\nimage0=rsrc\\files_big.png\nsound0=rsrc\\files_big.wav\n");
  write_text_file(root, "c.ini",
                  "hp=1\nmoves=3\nmove0=anim.ini\nmove1=rsrc\\..\\..\\x.ini\nmove2=" + outside +
                      "/x.ini\nimages=3\nimage0=rsrc\\files_x\\..\\files_ok.png\nimage1=rsrc\\files_out.png\n"
                      "image2=rsrc\n");
  lifeform* fighter = new lifeform;  // lives until the program ends, as in a fight
  std::string log;
  {
    confined_in data(root);
    log = capture_stdout([&] {
      fighter->load("c.ini");
      text_renderer text;
      text.create(nullptr);
      text.open_font("fonts");
    });
  }
  EXPECT_NE("", report_line(log, "ERROR:", {"[anim.ini] key [image0] value [rsrc\\files_big.png]", "bytes"})) << log;
  EXPECT_NE("", report_line(log, "ERROR:", {"[anim.ini] key [sound0] value [rsrc\\files_big.wav]", "bytes"}));
  EXPECT_NE("", report_line(log, "ERROR:", {"[c.ini] key [move1] value [rsrc\\..\\..\\x.ini]", "out of the data"}));
  EXPECT_NE("", report_line(log, "ERROR:", {"[c.ini] key [move2] value [" + outside + "/x.ini]", "absolute"}));
  EXPECT_NE("", report_line(log, "ERROR:", {"[c.ini] key [image1] value [rsrc\\files_out.png]", "symbolic link"}));
  EXPECT_NE("", report_line(log, "ERROR:", {"[c.ini] key [image2] value [rsrc]", "a directory"}));
  EXPECT_NE("", report_line(log, "ERROR:", {"ERROR: [fonts] refused: not a regular file (a directory)"}));
  // ".." that stays inside is fine: the picture loads and sizes the fighter.
  EXPECT_EQ(std::string::npos, log.find("Couldn't load rsrc\\files_x\\..\\files_ok.png")) << log;
  EXPECT_EQ(10, fighter->width);
  EXPECT_EQ(20, fighter->height);
}

TEST(HostileFiles, OneFileSpelledManyWaysIsDecodedOnce) {
  ensure_video();
  const std::string dir = make_temp_dir("files_spelled");
  write_solid_picture(dir, "rsrc/brela/files_spelled.png", 6, 6, 0, 255, 0);
  std::string text = "images=30\n";
  for (int i = 0; i < 30; ++i) {
    std::string name = dir + "\\rsrc";
    for (int d = 0; d < i % 5; ++d) name += "\\.";
    name += std::string(1 + i / 10, '\\') + "brela\\files_spelled.png";
    text += "image" + std::to_string(i) + "=" + name + "\n";
  }
  write_text_file(dir, "a.ini", text);
  animation* a = new animation;  // shares pictures with the cache until the program ends
  std::string log = capture_stdout([&] { a->load((dir + "/a.ini").c_str()); });
  EXPECT_EQ(1, count_of(log, "Loading img_mgr [")) << log;
  EXPECT_EQ(29, count_of(log, "Found in nmanager cache ["));
  ASSERT_EQ(30u, a->frames.size());
  EXPECT_EQ(6, a->frames[29].image->get_width());
}

// Pipes where every kind of data file belongs, and each other refusal, in
// --check and in a run into the fight: both finish and name file and key.
TEST(HostileFiles, PipesAndOtherRefusalsNeitherHangNorPassUnreported) {
  const std::string outside = make_temp_dir("files_outside");
  write_solid_picture(outside, "x.png", 8, 8, 0, 255, 0);
  const std::string root = make_temp_dir("files_tree");
  write_solid_picture(root, "rsrc/ok.png", 10, 20, 0, 255, 0);
  fs::create_symlink(outside + "/x.png", root + "/rsrc/out.png");
  fs::create_directories(root + "/game/fighter");
  for (const char* pipe : {"game/game.ini", "game/fighter/pipe.ini", "rsrc/pipe.png", "rsrc/pipe.wav", "rsrc/Veranda.ttf"}) {
    ASSERT_EQ(0, mkfifo((root + "/" + pipe).c_str(), 0600)) << pipe;
  }
  write_text_file(root, "game/fighter/snd.ini", "images=1\nimage0=rsrc\\ok.png\nsound0=rsrc\\pipe.wav\n");
  write_text_file(root, "game/fighter/brela_char.ini",
                  "hp=10\nmoves=4\nmove0=game\\fighter\\pipe.ini\nmove1=game\\fighter\\snd.ini\n"
                  "move2=..\\..\\etc\\passwd\nmove3=/etc/passwd\n"
                  "images=3\nimage0=rsrc\\pipe.png\nimage1=rsrc\\out.png\nimage2=rsrc\\..\\rsrc\\ok.png\n");
  write_text_file(root, "game/fighter/kastrell_char.ini", "");
  fs::resize_file(root + "/game/fighter/kastrell_char.ini", max_text_file_bytes + 1);
  const std::string brela = "[game\\fighter\\brela_char.ini]";
  const std::string brela_file = "game\\fighter\\brela_char.ini";

  game_run check = run_killed_after(60, {"--data-dir", root, "--check"});
  EXPECT_EQ(1, check.exit_status) << check.out;
  EXPECT_NE("", report_line(check.out, "game\\game.ini:0: error: this file is refused (loaded by the game): not a regular file (a pipe)", {}));
  EXPECT_NE("", report_line(check.out, "rsrc\\Veranda.ttf:0: error: this file is refused (loaded by the game): not a regular file (a pipe)", {}));
  EXPECT_NE("", report_line(check.out, brela_file + ":3: error: move0=game\\fighter\\pipe.ini is refused", {"a pipe"}));
  EXPECT_NE("", report_line(check.out, brela_file + ":8: error: image0=rsrc\\pipe.png is refused", {"a pipe"}));
  EXPECT_NE("", report_line(check.out, "game\\fighter\\snd.ini:3: error: sound0=rsrc\\pipe.wav is refused", {"a pipe"}));
  EXPECT_NE("", report_line(check.out, brela_file + ":5: error: move2=..\\..\\etc\\passwd is refused", {"out of the data"}));
  EXPECT_NE("", report_line(check.out, brela_file + ":6: error: move3=/etc/passwd is refused", {"absolute"}));
  EXPECT_NE("", report_line(check.out, brela_file + ":9: error: image1=rsrc\\out.png is refused", {"symbolic link"}));
  EXPECT_NE("", report_line(check.out, "game\\fighter\\kastrell_char.ini:0: error: this file is refused (loaded by the roster)", {"1048577 bytes"}));
  EXPECT_EQ("", report_line(check.out, ": error: ", {"ok.png"}));

  // RETURN picks the first fighter: both fighters load the file above.
  write_text_file(root, "keys.txt", "0 return down\n200 return up\n");
  game_run run = run_killed_after(60, {"--data-dir", root, "--seed", "1", "--script", root + "/keys.txt",
                                       "--frames", "400"});
  EXPECT_EQ(0, run.exit_status) << run.out;
  EXPECT_NE("", report_line(run.out, "ERROR:", {"[game\\game.ini] refused: not a regular file (a pipe)"}));
  EXPECT_NE("", report_line(run.out, "ERROR:", {"[rsrc\\Veranda.ttf] refused: not a regular file (a pipe)"}));
  EXPECT_NE("", report_line(run.out, "ERROR:", {brela, "key [move0] value [game\\fighter\\pipe.ini]", "a pipe"}));
  EXPECT_NE("", report_line(run.out, "ERROR:", {brela, "key [image0] value [rsrc\\pipe.png]", "a pipe"}));
  EXPECT_NE("", report_line(run.out, "ERROR:", {"[game\\fighter\\snd.ini] key [sound0]", "a pipe"}));
  EXPECT_NE("", report_line(run.out, "ERROR:", {brela, "key [move2]", "out of the data"}));
  EXPECT_NE("", report_line(run.out, "ERROR:", {brela, "key [move3]", "absolute"}));
  EXPECT_NE("", report_line(run.out, "ERROR:", {brela, "key [image1]", "symbolic link"}));
}

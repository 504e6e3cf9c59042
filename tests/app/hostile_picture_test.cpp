// Valid but hostile pictures in a copy of the bundled data, run by the game
// itself: pictures of every depth, one picture shown by hundreds of frames,
// a huge picture and a fighter scaled up a hundredfold. The fight runs and
// the game's memory stays within a small margin of a clean run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/measured_run.h"
#include "gfx/picture_files.h"
#include "gfx/picture_formats.h"

namespace fs = std::filesystem;

namespace {

std::string bundled_data() { return bundled_data_dir(); }

std::string copy_of_data(const std::string& tag) {
  std::string dir = make_temp_dir(tag);
  fs::copy(bundled_data(), dir, fs::copy_options::recursive);
  return dir;
}

void set_key(const fs::path& file, const std::string& key, const std::string& value) {
  std::ifstream in(file);
  std::string text, line;
  while (std::getline(in, line)) {
    if (line.rfind(key + "=", 0) != 0) text += line + "\n";
  }
  in.close();
  std::ofstream(file) << text << key << "=" << value << "\n";
}

// Mostly key green with a body in the middle, so it compresses to a few kilobytes.
rgba sprite(int x, int y, int w, int h) {
  const bool body = x > w / 4 && x < w / 2 && y > h / 4 && y < h / 2;
  return body ? rgba{200, 40, 40, 255} : rgba{0, 255, 0, 255};
}

// The first bytes of a PNG whose header says w x h (the rest is missing).
std::string png_header_claiming(unsigned w, unsigned h) {
  std::string b("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
  for (unsigned v : {w, h}) {
    for (int shift = 24; shift >= 0; shift -= 8) b += static_cast<char>((v >> shift) & 0xFF);
  }
  return b + std::string("\x08\x02\0\0\0", 5);
}

}  // namespace

TEST(HostilePicture, EveryValidDepthAndSharedPicturesRunWithinMemory) {
  if (bundled_data().empty()) GTEST_SKIP() << "no bundled data (run scripts/make_data.sh)";
  const measured_run clean = run_fight_frames(copy_of_data("picture_clean"), 30);
  ASSERT_EQ(0, clean.exit_status) << clean.err;

  const fs::path dir = copy_of_data("picture_hostile");
  const fs::path brela = dir / "rsrc" / "brela";
  // Postures in palette, grey and 1-bit grey PNG and palette BMP (the loader goes by content).
  ASSERT_TRUE(write_low_depth_png((brela / "stand.png").string(), "palette", 90, 160));
  ASSERT_TRUE(write_low_depth_png((brela / "air.png").string(), "grey", 90, 160));
  ASSERT_TRUE(write_low_depth_png((brela / "crouch.png").string(), "grey1", 90, 160));
  ASSERT_TRUE(write_palette_bmp((brela / "block.png").string(), 90, 160));
  // One 1024 x 1024 picture (4 MB decoded) shown by 300 frames of the first moves.
  write_picture(brela.string(), "big.png", 1024, 1024, [](int x, int y) { return sprite(x, y, 1024, 1024); }, 3);
  std::ofstream anim(dir / "game" / "fighter" / "brela" / "big.ini");
  anim << "images=300\nloop=1\n";
  for (int i = 0; i < 300; ++i) anim << "image" << i << "=rsrc\\brela\\big.png\nrate" << i << "=1\n";
  anim.close();
  const fs::path character = dir / "game" / "fighter" / "brela_char.ini";
  for (const char* move : {"move0", "move2", "move3", "move14"}) set_key(character, move, "game\\fighter\\brela\\big.ini");
  // The largest fighter the character file accepts.
  set_key(character, "scale", "100");

  const measured_run hostile = run_fight_frames(dir.string(), 30);
  EXPECT_EQ(0, hostile.exit_status) << hostile.err;
  EXPECT_NE(std::string::npos, hostile.out.find("benchmark: frames run [30]")) << hostile.err;
  // 300 private copies would take 1.2 GB; shared, the pictures add a few megabytes.
  EXPECT_LT(hostile.peak_kb, clean.peak_kb + 150 * 1024 + sanitizer_slack_kb) << "clean run: " << clean.peak_kb << " kB";
}

TEST(HostilePicture, HugePicturesAreRefusedOrBoundedByTheBudget) {
  if (bundled_data().empty()) GTEST_SKIP() << "no bundled data (run scripts/make_data.sh)";
  const fs::path dir = copy_of_data("picture_huge");
  const fs::path brela = dir / "rsrc" / "brela";
  // At the cap of one picture (4096 x 1024, 16 MB decoded), drawn a hundredfold.
  write_picture(brela.string(), "stand.png", 4096, 1024, [](int x, int y) { return sprite(x, y, 4096, 1024); }, 3);
  // Just over it, in all and a side: refused, nothing decoded.
  write_text_file(brela.string(), "air.png", png_header_claiming(4097, 1024));
  write_picture(brela.string(), "crouch.png", 16384, 1, [](int, int) { return rgba{0, 255, 0, 255}; }, 3);
  set_key(dir / "game" / "fighter" / "brela_char.ini", "scale", "100");
  // Ten more of the largest pictures under names of their own: the budget of
  // all pictures (128 MB) refuses those beyond it.
  std::ofstream anim(dir / "game" / "fighter" / "brela" / "huge.ini");
  anim << "images=10\n";
  for (int i = 0; i < 10; ++i) {
    const std::string name = "huge" + std::to_string(i) + ".png";
    fs::copy_file(brela / "stand.png", brela / name);
    anim << "image" << i << "=rsrc\\brela\\" << name << "\n";
  }
  anim.close();
  set_key(dir / "game" / "fighter" / "brela_char.ini", "move1", "game\\fighter\\brela\\huge.ini");

  const measured_run run = run_fight_frames(dir.string(), 20);
  EXPECT_EQ(0, run.exit_status) << run.err;
  EXPECT_NE(std::string::npos, run.out.find("benchmark: frames run [20]"));
  EXPECT_NE(std::string::npos, run.out.find("ERROR: [rsrc\\brela\\air.png] picture size [4097,1024] refused")) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("ERROR: [rsrc\\brela\\crouch.png] picture size [16384,1] refused"));
  EXPECT_NE(std::string::npos, run.out.find("picture size [4096,1024] refused: all pictures together")) << run.out;
  EXPECT_LT(run.peak_kb, 1024L * 1024L + sanitizer_slack_kb) << "peak kB";
}

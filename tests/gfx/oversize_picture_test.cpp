// A picture file whose header claims an enormous size is refused before the
// game copies its pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gfx/img_mgr.h"
#include "gfx/picture_header.h"
#include "picture_files.h"
#include "support/test_env.h"

namespace {

void put32(std::ofstream& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.put(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void put16(std::ofstream& out, uint16_t v) {
  out.put(static_cast<char>(v & 0xFF));
  out.put(static_cast<char>(v >> 8));
}

// A 24-bit BMP header for `side` x `side` pixels followed by a handful of bytes.
std::string write_claiming_bmp(int side) {
  std::string path = make_temp_dir("oversize") + "/huge.bmp";
  std::ofstream out(path, std::ios::binary);
  out.put('B');
  out.put('M');
  put32(out, 70);  // file size (a lie, like the rest)
  put32(out, 0);
  put32(out, 54);  // pixel data offset
  put32(out, 40);  // info header size
  put32(out, static_cast<uint32_t>(side));
  put32(out, static_cast<uint32_t>(side));
  put16(out, 1);
  put16(out, 24);
  for (int i = 0; i < 6; ++i) put32(out, 0);
  for (int i = 0; i < 16; ++i) out.put('\x7f');
  return path;
}

TEST(OversizePicture, HugeDeclaredSizeIsRefusedWithAMessage) {
  ensure_video();
  std::string path = write_claiming_bmp(20000);
  img_mgr picture;
  std::string log = capture_stdout([&] { picture.load(path.c_str()); });
  EXPECT_NE(std::string::npos, log.find("ERROR: [" + path + "] picture size [20000,20000] refused")) << log;
  EXPECT_EQ(std::string::npos, log.find("Couldn't load")) << log;  // refused before decoding
  EXPECT_EQ(nullptr, picture.pixels());
  EXPECT_EQ(0, picture.get_width());
  capture_stdout([&] { picture.draw(0, 0); });  // nothing to draw, no crash
}

TEST(OversizePicture, HeaderSizesOfPngAndBmp) {
  long long w = 0, h = 0;
  const unsigned char png[24] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                 0, 0, 0x06, 0x40, 0, 0, 0x01, 0xE0};
  ASSERT_TRUE(declared_picture_size(png, sizeof png, w, h));
  EXPECT_EQ(1600, w);
  EXPECT_EQ(480, h);
  // A top-down BMP stores a negative height.
  unsigned char bmp[26] = {'B', 'M'};
  bmp[14] = 40;
  bmp[18] = 0x03;
  bmp[19] = 0x30;  // width 12291
  bmp[22] = 0x02;
  bmp[23] = 0x00;
  bmp[24] = 0xFF;
  bmp[25] = 0xFF;  // height -65534
  ASSERT_TRUE(declared_picture_size(bmp, sizeof bmp, w, h));
  EXPECT_EQ(12291, w);
  EXPECT_EQ(65534, h);
  const unsigned char gif[10] = {'G', 'I', 'F', '8', '9', 'a', 0xFF, 0xFF, 0x10, 0x00};
  ASSERT_TRUE(declared_picture_size(gif, sizeof gif, w, h));
  EXPECT_EQ(65535, w);
  EXPECT_EQ(16, h);
  const unsigned char pnm[] = "P6\n99999 2\n255\n";
  ASSERT_TRUE(declared_picture_size(pnm, sizeof pnm - 1, w, h));
  EXPECT_EQ(99999, w);
  EXPECT_EQ(2, h);
  const unsigned char text[26] = {'h', 'e', 'l', 'l', 'o'};
  EXPECT_FALSE(declared_picture_size(text, sizeof text, w, h));
  EXPECT_FALSE(declared_picture_size(png, 10, w, h));  // too short to tell
}

std::string write_bytes(const std::string& name, const std::vector<unsigned char>& bytes) {
  std::string path = make_temp_dir("oversize") + "/" + name;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

// A little-endian TIFF whose one directory, put after `gap` bytes of padding,
// claims `side` x `side` grey pixels.
std::vector<unsigned char> claiming_tiff(int side, int gap) {
  std::vector<unsigned char> b = {'I', 'I', 42, 0};
  auto u16 = [&b](int v) { b.push_back(v & 0xFF); b.push_back((v >> 8) & 0xFF); };
  auto u32 = [&](long v) { u16(v & 0xFFFF); u16((v >> 16) & 0xFFFF); };
  u32(8 + gap);
  b.resize(b.size() + gap, 0);
  const int entries[][3] = {{256, 4, side}, {257, 4, side}, {258, 3, 8}, {259, 3, 1}, {262, 3, 1}, {273, 4, 0},
                            {277, 3, 1}, {278, 4, side}, {279, 4, 64}};
  u16(9);
  for (const auto& e : entries) {
    u16(e[0]);
    u16(e[1]);
    u32(1);
    u32(e[0] == 273 ? static_cast<long>(b.size() + 100) : e[2]);
  }
  u32(0);
  b.resize(b.size() + 200, 0);
  return b;
}

// Every format the decoders read is sized from its header before decoding:
// a TIFF keeps its size wherever its directory lies, a GIF's first image may
// be larger than the screen it declares, a progressive JPEG can repeat scans.
TEST(OversizePicture, EveryFormatIsSizedBeforeDecoding) {
  ensure_video();
  struct refused_file {
    std::string path;
    std::string expected;
  };
  std::vector<unsigned char> gif = {'G', 'I', 'F', '8', '9', 'a', 16, 0, 16, 0, 0, 0, 0,
                                    0x21, 0xF9, 4, 0, 0, 0, 0, 0,  // a graphic control extension
                                    0x00, 0x55,                    // stray bytes the decoder steps over
                                    0x2C, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 2, 2, 0x44, 1, 0, 0x3B};
  std::vector<unsigned char> jpeg = {0xFF, 0xD8, 0xFF, 0xC2, 0, 11, 8, 0, 16, 0, 16, 1, 1, 0x11, 0};
  for (int scan = 0; scan < 101; ++scan) {
    for (unsigned char c : {0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 0, 0, 0x55}) jpeg.push_back(c);
  }
  // Images of no pixels: the GIF decoder writes through a null row, the zoom code crashes.
  const std::vector<unsigned char> empty_gif = {'G', 'I', 'F', '8', '9', 'a', 16, 0, 16, 0, 0, 0, 0,
                                                0x2C, 0, 0, 0, 0, 64, 0, 0, 0, 0, 2, 2, 0x44, 1, 0, 0x3B};
  std::vector<unsigned char> flat_pcx(200, 0);
  flat_pcx[0] = 0x0A;  // a PCX, version 5, run-length coded, 8 bits
  flat_pcx[1] = 5;
  flat_pcx[2] = 1;
  flat_pcx[3] = 8;
  flat_pcx[6] = 1;   // ymin 1, ymax 0: no rows
  flat_pcx[65] = 1;  // one plane
  flat_pcx[66] = 2;  // two bytes a row
  const refused_file refused[] = {
      {write_bytes("deep.tif", claiming_tiff(16000, 5000)), "] picture size [16000,16000] refused"},
      {write_bytes("wide.gif", gif), "] picture size [65535,65535] refused"},
      {write_bytes("scans.jpg", jpeg), ": a JPEG of more than 100 scans"},
      {write_bytes("icon.xpm", std::vector<unsigned char>(40, 'x')), ": not a picture format the game reads"},
      {write_bytes("empty.gif", empty_gif), ": its header declares a picture of no pixels"},
      {write_bytes("flat.pcx", flat_pcx), ": its header declares a picture of no pixels"},
  };
  for (const refused_file& f : refused) {
    img_mgr picture;
    const std::string log = capture_stdout([&] { picture.load(f.path.c_str()); });
    EXPECT_NE(std::string::npos, log.find(f.path + f.expected)) << log;
    EXPECT_EQ(nullptr, picture.pixels()) << f.path;
  }
  long long w = 0, h = 0;
  ASSERT_TRUE(declared_picture_size_of_file(write_bytes("small.tif", claiming_tiff(20, 300)).c_str(), w, h));
  EXPECT_EQ(20, w);
  EXPECT_EQ(20, h);
  const unsigned char pnm[] = "P5\n# made by hand\n640 480\n255\n";
  ASSERT_TRUE(declared_picture_size(pnm, sizeof pnm - 1, w, h));
  EXPECT_EQ(640, w);
  EXPECT_EQ(480, h);
}

// Files whose structure runs past their end: the PNG and GIF readers take a
// failed read for data and would read for ever, the WebP reader allocates what
// a chunk claims. Each fails to load at once; the whole file loads.
TEST(OversizePicture, FilesCutShortFailToLoadAtOnce) {
  ensure_video();
  const std::string dir = make_temp_dir("cut_short");
  std::ifstream in(write_picture(dir, "whole.png", 5, 3, [](int, int) { return rgba{200, 10, 10, 255}; }),
                   std::ios::binary);
  const std::vector<unsigned char> png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(png.size(), 45u);
  const size_t iend = png.size() - 12;
  const std::vector<unsigned char> gif_head = {'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0, 0, 0};
  std::vector<unsigned char> cut_comment = gif_head;
  for (int c : {0x21, 0xFE, 40, 0x61, 0x62, 0x63}) cut_comment.push_back(static_cast<unsigned char>(c));  // claims 40 bytes
  // An image whose code size no decoder accepts, then what reads as a cut comment.
  std::vector<unsigned char> broken_image = gif_head;
  for (int c : {0x2C, 0, 0, 0, 0, 4, 0, 4, 0, 0, 38, 2, 0x21, 0xFE, 0x21, 0xFE, 200, 1}) {
    broken_image.push_back(static_cast<unsigned char>(c));
  }
  // A WebP whose first chunk claims 4 GB: the decoder would allocate that.
  std::vector<unsigned char> webp = {'R', 'I', 'F', 'F', 36, 0, 0, 0, 'W', 'E', 'B', 'P', 'V', 'P', '8', ' ',
                                     0, 0, 0, 0xEE, 0x50, 0x04, 0, 0x9D, 0x01, 0x2A, 16, 0, 16, 0};
  webp.resize(44, 0);
  struct cut_file {
    std::vector<unsigned char> bytes;
    std::string expected;
  };
  const cut_file cut[] = {
      {{png.begin(), png.begin() + iend}, ": the PNG ends before its IEND chunk"},
      {{png.begin(), png.begin() + iend + 6}, ": the PNG ends before its IEND chunk"},
      {{png.begin(), png.begin() + iend - 2}, ": a PNG chunk runs past the end of the file"},
      {webp, ": a WebP chunk runs past the end of the file"},
      {cut_comment, ": "},
      {broken_image, ": "},
  };
  int n = 0;
  for (const cut_file& c : cut) {
    const std::string path = write_bytes("cut" + std::to_string(n++) + (c.bytes[0] == 'G' ? ".gif" : c.bytes[0] == 'R' ? ".webp" : ".png"), c.bytes);
    img_mgr picture;
    const std::string log = capture_stdout([&] { picture.load(path.c_str()); });
    EXPECT_NE(std::string::npos, log.find("Couldn't load " + path + c.expected)) << log;
    EXPECT_EQ(nullptr, picture.pixels()) << path;
  }
  img_mgr whole;
  capture_stdout([&] { whole.load(write_bytes("whole.png", png).c_str()); });
  ASSERT_NE(nullptr, whole.pixels());
  EXPECT_EQ(5, whole.get_width());
}

}  // namespace

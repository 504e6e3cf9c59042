// A picture file whose header claims an enormous size is refused before the
// game copies its pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>

#include "gfx/img_mgr.h"
#include "gfx/picture_header.h"
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

}  // namespace

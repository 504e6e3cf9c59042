// The image object in software mode: loading, copying and assignment with
// their log lines, holder counts, colour swaps, mirroring, and the draws read
// back from the target surface.
#include <gtest/gtest.h>

#include <cstring>

#include "app/video.h"
#include "core/log.h"
#include "gfx/img_mgr.h"
#include "picture_files.h"
#include "support/test_env.h"
#include "kept_zoom_copies.h"

namespace {

// Left half red, right half blue, a green (keyed) column band in the middle.
rgba halves(int x, int y, int w) {
  if (x >= w / 2 - 2 && x < w / 2 + 2) return {0, 255, 0, 255};
  return x < w / 2 ? rgba{255, 0, 0, 255} : rgba{0, 0, 255, 255};
}

class ImgMgr : public testing::Test {
 protected:
  void SetUp() override {
    ensure_video();
    dir = make_temp_dir("img");
    picture = write_picture(dir, "p.png", 40, 100, [](int x, int y) { return halves(x, y, 40); });
  }
  std::string dir, picture;
};

bool same(rgba a, rgba b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
const rgba red{255, 0, 0, 255}, blue{0, 0, 255, 255};

}  // namespace

TEST(TextureSize, SmallestPowerOfTwoNotBelow) {
  EXPECT_EQ(texture_size_for(640), 1024);
  EXPECT_EQ(texture_size_for(480), 512);
  EXPECT_EQ(texture_size_for(256), 256);
  EXPECT_EQ(texture_size_for(257), 512);
  EXPECT_EQ(texture_size_for(1), 1);
  EXPECT_EQ(texture_size_for(0), 1);
}

TEST(ZoomKey, TruncatesZoomTimes25) {
  EXPECT_EQ(zoom_key_for(0.5), 12);
  EXPECT_EQ(zoom_key_for(0.51), 12);
  EXPECT_EQ(zoom_key_for(0.52), 13);
  EXPECT_EQ(zoom_key_for(1.0), 25);
}

TEST_F(ImgMgr, LoadOfMissingFileReportsAndKeepsOldState) {
  img_mgr img;
  img.load(picture.c_str());
  std::string missing = dir + "/none.png";
  std::string out = capture_stdout([&] { img.load(missing.c_str()); });
  EXPECT_NE(out.find("Couldn't load " + missing + ": "), std::string::npos) << out;
  EXPECT_EQ(img.get_width(), 40);
  EXPECT_EQ(img.get_height(), 100);
  EXPECT_STREQ(img.name, picture.c_str());
  EXPECT_NE(img.surface.get(), nullptr);  // an empty holder
  EXPECT_EQ(img.pixels(), nullptr);
}

TEST_F(ImgMgr, LoadConvertsEveryDepthToTheDisplayFormat) {
  // 24-bit pictures used to stay 24-bit; every depth now becomes the screen's 32 bits.
  std::string rgb = write_picture(dir, "rgb.png", 7, 3, [](int, int) { return rgba{1, 2, 3, 255}; }, 3);
  img_mgr a, b;
  a.load(picture.c_str());
  b.load(rgb.c_str());
  EXPECT_EQ(a.pixels()->format->BitsPerPixel, g_video.screen->format->BitsPerPixel);
  EXPECT_EQ(a.pixels()->format->Rmask, g_video.screen->format->Rmask);
  EXPECT_EQ(b.pixels()->format->BitsPerPixel, g_video.screen->format->BitsPerPixel);
  EXPECT_EQ(b.pixels()->format->Rmask, g_video.screen->format->Rmask);
  rgba c = pixel_at(b.pixels(), 6, 2);
  EXPECT_TRUE(c.r == 1 && c.g == 2 && c.b == 3);
  EXPECT_EQ(a.dest_rect.w, 40);
  EXPECT_EQ(a.src_rect.h, 100);
  EXPECT_EQ(a.pixels()->flags & SDL_SRCCOLORKEY, 0u);  // keyed only when uploaded, copied or assigned
}

TEST_F(ImgMgr, CopyOfNeverLoadedImageIsEmpty) {
  img_mgr empty;
  std::string out = capture_stdout([&] { img_mgr copy(empty); EXPECT_EQ(copy.surface.get(), nullptr); });
  EXPECT_NE(out.find("WARNING: copying an empty img_mgr [] gl[-1]\n"), std::string::npos) << out;
  EXPECT_NE(out.find("ERROR: Can't copy src.image (NULL and no gl) to image ["), std::string::npos) << out;
  img_mgr copy(empty);
  EXPECT_FALSE(copy.has_texture());
  EXPECT_EQ(copy.alpha, 255u);
  EXPECT_STREQ(copy.name, "");
}

TEST_F(ImgMgr, CopiesOwnTheirPixelsAndShareTheMirror) {
  img_mgr original;
  original.load(picture.c_str());
  original.flip();
  original.flip();  // back to unmirrored; the mirror stays
  shared_surface* mirror = original.mirror.get();
  ASSERT_NE(mirror, nullptr);
  const int before = mirror->ref_count;
  {
    img_mgr a(original), b(original);
    EXPECT_EQ(mirror->ref_count, before + 2);
    EXPECT_NE(a.surface.get(), original.surface.get());
    EXPECT_NE(a.pixels(), original.pixels());
    EXPECT_NE(a.pixels()->flags & SDL_SRCCOLORKEY, 0u);
    EXPECT_EQ(a.get_width(), 40);
    EXPECT_STREQ(a.name, original.name);
  }
  EXPECT_EQ(mirror->ref_count, before);
  EXPECT_NE(mirror->surface, nullptr);
}

TEST_F(ImgMgr, AssignmentSharesTheHolderAndLogs) {
  img_mgr a, b;
  a.load(picture.c_str());
  shared_surface* holder = a.surface.get();
  std::string out = capture_stdout([&] { b = a; });
  char expected[80];
  std::snprintf(expected, sizeof expected, "Image assignment [%x] to [%x]\n", log_addr(&a), log_addr(&b));
  EXPECT_EQ(out, expected);
  EXPECT_EQ(b.surface.get(), holder);
  EXPECT_EQ(holder->ref_count, 2);
  out = capture_stdout([&] { a = a; });
  std::snprintf(expected, sizeof expected, "Image assignment [%x] to [%x]\n", log_addr(&a), log_addr(&a));
  EXPECT_EQ(out, expected);
  EXPECT_EQ(holder->ref_count, 2);
  img_mgr empty;
  out = capture_stdout([&] { b = empty; });
  EXPECT_NE(out.find("ERROR: no image to copy from\n"), std::string::npos);
  EXPECT_EQ(b.surface.get(), holder);  // nothing changed
}

TEST_F(ImgMgr, SoftwareUploadConvertsOnceAndFreesWithTheLastHolder) {
  img_mgr* a = new img_mgr;
  a->load(picture.c_str());
  shared_surface* holder = a->surface.get();
  std::string out = capture_stdout([&] { a->upload(); });
  char expected[64];
  std::snprintf(expected, sizeof expected, "Move image[%x] to videoram bpp[32]\n", log_addr(holder));
  EXPECT_EQ(out.find(expected), 0u) << out;
  EXPECT_NE(out.find("____WARNING: Setting an alreadys set surface["), std::string::npos);
  EXPECT_NE(a->pixels()->flags & SDL_SRCCOLORKEY, 0u);
  EXPECT_EQ(capture_stdout([&] { a->upload(); }), "");  // converted already

  // A second image shares the holder after the conversion: neither a
  // self-assignment of the handle nor dropping one image frees the pixels.
  img_mgr* b = new img_mgr;
  *b = *a;
  b->surface = b->surface;
  EXPECT_NE(holder->surface, nullptr);
  out = capture_stdout([&] { delete a; });
  EXPECT_EQ(out.find("____Deleting"), std::string::npos);
  EXPECT_NE(b->pixels(), nullptr);
  b->draw(0, 0);
  out = capture_stdout([&] { delete b; });
  EXPECT_NE(out.find("____Deleting surface ["), std::string::npos);  // the last one frees them
}

TEST_F(ImgMgr, SwapColourWalksPaddedRows) {
  // 5 pixels of 3 bytes: rows are padded to 16 bytes.
  std::string odd = write_picture(dir, "odd.png", 5, 4, [](int x, int y) {
    return (x + y) % 2 ? rgba{10, 20, 30, 255} : rgba{200, 100, 50, 255};
  }, 3);
  img_mgr img;
  img.load(odd.c_str());
  // Loads give 32 bits; a 24-bit surface can still reach an image another way.
  SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 5, 4, 24, 0xFF, 0xFF00, 0xFF0000, 0);
  ASSERT_NE(nullptr, s);
  SDL_BlitSurface(img.pixels(), nullptr, s, nullptr);
  img.surface = new shared_surface;
  img.surface.get()->set_surface(s);
  ASSERT_EQ(s->format->BytesPerPixel, 3);
  ASSERT_GT(s->pitch, 15);
  // A padding byte that happens to look like the colour to replace.
  Uint8* pad = static_cast<Uint8*>(s->pixels) + 15;
  *pad = 0x77;
  const uint32_t from = 10 | (20 << 8) | (30 << 16), to = 1 | (2 << 8) | (3 << 16);
  img.swap_colour(from, to);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 5; ++x) {
      rgba c = pixel_at(s, x, y);
      if ((x + y) % 2) {
        EXPECT_TRUE(c.r == 1 && c.g == 2 && c.b == 3) << x << "," << y;
      } else {
        EXPECT_TRUE(c.r == 200 && c.g == 100 && c.b == 50) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(*pad, 0x77);
}

TEST_F(ImgMgr, SwapColourKeepsTheFourthByte) {
  img_mgr img;
  img.load(picture.c_str());
  SDL_Surface* s = img.pixels();
  Uint32* p = static_cast<Uint32*>(s->pixels);
  const Uint32 red_value = SDL_MapRGB(s->format, 255, 0, 0);
  p[0] = red_value | 0xAB000000u;
  img.swap_colour(red_value & 0xFFFFFF, SDL_MapRGB(s->format, 9, 8, 7));
  EXPECT_EQ(p[0] >> 24, 0xABu);
  EXPECT_TRUE(same(pixel_at(s, 0, 0), {9, 8, 7, 255}));
  EXPECT_TRUE(same(pixel_at(s, 39, 0), blue));
}

TEST_F(ImgMgr, FlipTwiceReusesOneMirror) {
  img_mgr img;
  img.load(picture.c_str());
  SDL_Surface* shown = img.pixels();
  img.flip();
  EXPECT_EQ(img.flipped, 1u);
  EXPECT_TRUE(same(pixel_at(img.pixels(), 0, 5), blue));
  EXPECT_TRUE(same(pixel_at(img.pixels(), 39, 5), red));
  SDL_Surface* mirrored = img.pixels();
  img.flip();
  EXPECT_EQ(img.flipped, 0u);
  EXPECT_EQ(img.pixels(), shown);
  img.flip();
  EXPECT_EQ(img.pixels(), mirrored);
}

TEST_F(ImgMgr, KeyedDrawShowsColoursAndLeavesGreenOut) {
  img_mgr img;
  img.load(picture.c_str());
  g_video.clear_screen();
  img.draw(100, 50);
  SDL_Surface* s = g_video.screen;
  EXPECT_TRUE(same(pixel_at(s, 100, 50), red));
  EXPECT_TRUE(same(pixel_at(s, 139, 149), blue));
  EXPECT_TRUE(same(pixel_at(s, 119, 80), {0, 0, 0, 0}));  // green column: the screen shows through
  EXPECT_TRUE(same(pixel_at(s, 99, 50), {0, 0, 0, 0}));
  EXPECT_TRUE(same(pixel_at(s, 140, 150), {0, 0, 0, 0}));
}

TEST_F(ImgMgr, DrawZoomedKeepsTheBottomEdgeAndResetsRects) {
  img_mgr img;
  img.load(picture.c_str());
  SDL_Surface* target = patterned_target(640, 480);
  const rgba untouched_above = pixel_at(target, 2, 349), untouched_below = pixel_at(target, 2, 400);
  img.src_rect = {0, 0, 20, 50};  // a window the draw must reset afterwards
  img.src_rect = {0, 0, 40, 100};
  img.draw_zoomed(0, 300, target, 0.5);
  EXPECT_TRUE(same(pixel_at(target, 2, 350), red));
  EXPECT_TRUE(same(pixel_at(target, 2, 399), red));
  EXPECT_TRUE(same(pixel_at(target, 19, 399), blue));
  EXPECT_TRUE(same(pixel_at(target, 2, 349), untouched_above));
  EXPECT_TRUE(same(pixel_at(target, 2, 400), untouched_below));
  img.src_rect = {10, 10, 5, 5};
  img.draw_zoomed(0, 300, target, 0.5);
  EXPECT_EQ(img.src_rect.x, 0);
  EXPECT_EQ(img.src_rect.w, 40);
  EXPECT_EQ(img.src_rect.h, 100);
  EXPECT_EQ(img.dest_rect.w, 40);
  SDL_FreeSurface(target);
}

TEST_F(ImgMgr, FlippedPictureIsMirroredWhenZoomed) {
  img_mgr img;
  img.load(picture.c_str());
  img.flip();
  SDL_Surface* target = patterned_target(640, 480);
  img.draw_zoomed(0, 300, target, 0.5);
  EXPECT_TRUE(same(pixel_at(target, 1, 360), blue));
  EXPECT_TRUE(same(pixel_at(target, 18, 360), red));
  SDL_FreeSurface(target);
}

TEST_F(ImgMgr, ZoomCacheSharesKeysAndOrientation) {
  const kept_zoom_copies straightforward_path;
  img_mgr img;
  img.load(picture.c_str());
  SDL_Surface* target = patterned_target(64, 64);
  img.draw_zoomed(0, 0, target, 0.5);
  img.draw_zoomed(0, 0, target, 0.51);
  EXPECT_EQ(img.zoom_cache.size(), 1u);
  img.draw_zoomed(0, 0, target, 0.52);
  EXPECT_EQ(img.zoom_cache.size(), 2u);
  img.flip();
  img.draw_zoomed(0, 0, target, 0.5);
  ASSERT_EQ(img.zoom_cache.size(), 3u);
  EXPECT_EQ(img.zoom_cache[2]->zoom_key, 12);
  EXPECT_EQ(img.zoom_cache[2]->flipped, 1u);
  img_mgr copy(img);
  EXPECT_EQ(copy.zoom_cache, img.zoom_cache);  // entries shared, not duplicated
  img_mgr uncached;
  uncached.load(picture.c_str());
  uncached.no_zoom_cache = 1;
  uncached.draw_zoomed(0, 0, target, 0.5);
  EXPECT_TRUE(uncached.zoom_cache.empty());
  SDL_FreeSurface(target);
}

TEST_F(ImgMgr, DrawDepthRefusesADepthThatWouldNeverEnd) {
  img_mgr img;
  img.load(picture.c_str());
  SDL_Surface* target = patterned_target(64, 64);
  std::string out = capture_stdout([&] { img.draw_depth(0, 0, target, 0.5, 0.0); });
  EXPECT_NE(out.find("ERROR: draw_depth refused depth"), std::string::npos);
  out = capture_stdout([&] { img.draw_depth(0, 0, target, 0.5, -0.2); });
  EXPECT_NE(out.find("ERROR: draw_depth refused depth"), std::string::npos);
  // Zoom 1.0 draws as draw_to whatever the depth.
  img.draw_depth(3, 4, target, 1.0, 0.0);
  EXPECT_TRUE(same(pixel_at(target, 3, 4), red));
  EXPECT_EQ(img.dest_rect.x, 3);
  SDL_FreeSurface(target);
}

TEST_F(ImgMgr, TranslucentZoomedDrawBlends) {
  img_mgr img;
  img.load(picture.c_str());
  img.no_zoom_cache = 1;
  img.set_alpha(128);
  SDL_Surface* target = patterned_target(64, 128);
  SDL_FillRect(target, nullptr, 0);
  img.draw_zoomed(0, 0, target, 1.0 - 1e-9);
  rgba c = pixel_at(target, 1, 50);
  EXPECT_GT(c.r, 100);
  EXPECT_LT(c.r, 160);
  SDL_FreeSurface(target);
}

TEST_F(ImgMgr, OpacitySetBeforeTheFirstDrawSurvivesTheConversion) {
  std::string grey = write_picture(dir, "grey.png", 4, 10, [](int, int) { return rgba{200, 200, 200, 255}; });
  img_mgr img;
  img.load(grey.c_str());
  img.set_alpha(192);
  g_video.clear_screen();
  img.draw(10, 10);  // converts, then blends at 192 over black
  EXPECT_NEAR(pixel_at(g_video.screen, 11, 15).r, 200 * 192 / 255, 2);
  img.set_alpha(64);
  img.draw(20, 10);
  EXPECT_NEAR(pixel_at(g_video.screen, 21, 15).r, 200 * 64 / 255, 2);
  img.set_alpha(255);
  img.draw(30, 10);
  EXPECT_EQ(pixel_at(g_video.screen, 31, 15).r, 200);
}

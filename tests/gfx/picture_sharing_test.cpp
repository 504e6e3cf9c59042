// Pictures of every valid depth are drawn from 32 bits; copies of one picture
// share its pixels, mirror and zoomed copies instead of multiplying memory,
// and a colour swap on one copy leaves the others as they were.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/img_mgr.h"
#include "gfx/pixel_share.h"
#include "picture_files.h"
#include "picture_formats.h"
#include "support/test_env.h"
#include "kept_zoom_copies.h"

namespace {

bool same_rgb(rgba a, rgba b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

}  // namespace

TEST(PictureFormats, LowDepthPicturesAreDrawnFrom32BitsWithTheKeyKept) {
  ensure_video();
  const std::string dir = make_temp_dir("formats");
  struct made {
    std::string file;
    bool ok;
    bool has_green;
  };
  const made pictures[] = {
      {dir + "/palette.png", write_low_depth_png(dir + "/palette.png", "palette", 37, 21), true},
      {dir + "/grey.png", write_low_depth_png(dir + "/grey.png", "grey", 37, 21), false},
      {dir + "/grey1.png", write_low_depth_png(dir + "/grey1.png", "grey1", 37, 21), false},
      {dir + "/palette.bmp", write_palette_bmp(dir + "/palette.bmp", 37, 21), true},
  };
  SDL_Surface* target = patterned_target(200, 100);
  for (const made& p : pictures) {
    ASSERT_TRUE(p.ok) << p.file;
    img_mgr img;
    std::string log = capture_stdout([&] { img.load(p.file.c_str()); });
    ASSERT_NE(nullptr, img.pixels()) << p.file << "\n" << log;
    EXPECT_EQ(32, img.pixels()->format->BitsPerPixel) << p.file;
    EXPECT_EQ(0u, img.pixels()->flags & SDL_SRCCOLORKEY) << p.file;  // keyed only when prepared, with green
    EXPECT_NE(std::string::npos, log.find("Loading img_mgr [" + p.file + "]")) << log;
    if (p.has_green) {
      EXPECT_TRUE(same_rgb(rgba{0, 255, 0, 255}, pixel_at(img.pixels(), 0, 0))) << p.file;
    }
    // The draws SDL_gfx read out of bounds on 8-bit surfaces (the sanitizer build sees it).
    capture_stdout([&] {
      img.draw_zoomed(10, 10, target, 1.7);
      img.flip();
      img.draw_zoomed(10, 10, target, 0.6);
    });
    ASSERT_NE(nullptr, img.pixels());
    EXPECT_EQ(32, img.pixels()->format->BitsPerPixel) << p.file;
    if (p.has_green) {
      // Drawn: the green border is see-through, the body is red.
      EXPECT_TRUE(same_rgb(rgba{200, 30, 30, 255}, pixel_at(img.pixels(), 18, 10))) << p.file;
      EXPECT_EQ(static_cast<Uint32>(SDL_SRCCOLORKEY), img.pixels()->flags & SDL_SRCCOLORKEY) << p.file;
      EXPECT_EQ(SDL_MapRGB(img.pixels()->format, 0, 255, 0), img.pixels()->format->colorkey) << p.file;
    }
  }
  SDL_FreeSurface(target);
}

TEST(PictureSharing, CopiesShareThePixelsAndTheMirrorUntilOneIsRecoloured) {
  ensure_video();
  const std::string dir = make_temp_dir("sharing");
  const std::string file = write_picture(dir, "p.png", 64, 48, [](int x, int) {
    return x < 8 ? rgba{0, 255, 0, 255} : rgba{10, 20, 30, 255};
  });
  img_mgr stored;
  capture_stdout([&] { stored.load(file.c_str()); });
  ASSERT_NE(nullptr, stored.pixels());
  img_mgr* a = nullptr;
  img_mgr* b = nullptr;
  capture_stdout([&] {
    a = new img_mgr(stored);
    b = new img_mgr(stored);
  });
  ASSERT_NE(nullptr, a->pixels());
  ASSERT_NE(nullptr, b->pixels());
  EXPECT_EQ(stored.pixels()->pixels, a->pixels()->pixels);
  EXPECT_EQ(stored.pixels()->pixels, b->pixels()->pixels);
  EXPECT_NE(stored.pixels(), a->pixels());  // each copy has its own surface (key, opacity)

  // Mirrored separately, shown from one mirror.
  capture_stdout([&] {
    a->flip();
    b->flip();
  });
  EXPECT_EQ(a->pixels()->pixels, b->pixels()->pixels);
  EXPECT_TRUE(same_rgb(rgba{0, 255, 0, 255}, pixel_at(a->pixels(), 63, 0)));

  // Opacity stays each copy's own.
  capture_stdout([&] { a->set_alpha(64); });
  EXPECT_EQ(255, b->pixels()->format->alpha);

  // Recolouring one copy gives it pixels of its own; the others keep theirs.
  const Uint32 body = SDL_MapRGB(stored.pixels()->format, 10, 20, 30);
  const Uint32 red = SDL_MapRGB(stored.pixels()->format, 255, 0, 0);
  capture_stdout([&] {
    a->flip();
    a->swap_colour(body, red);
  });
  EXPECT_TRUE(same_rgb(rgba{255, 0, 0, 255}, pixel_at(a->pixels(), 30, 10)));
  EXPECT_TRUE(same_rgb(rgba{10, 20, 30, 255}, pixel_at(stored.pixels(), 30, 10)));
  EXPECT_TRUE(same_rgb(rgba{10, 20, 30, 255}, pixel_at(b->pixels(), 33, 10)));
  EXPECT_NE(stored.pixels()->pixels, a->pixels()->pixels);
  // A second copy recoloured the same way finds its own pixels changed too.
  img_mgr* c = nullptr;
  capture_stdout([&] {
    c = new img_mgr(stored);
    c->swap_colour(body, red);
  });
  EXPECT_TRUE(same_rgb(rgba{255, 0, 0, 255}, pixel_at(c->pixels(), 30, 10)));
  EXPECT_EQ(a->pixels()->pixels, c->pixels()->pixels);  // one recoloured copy for both
  capture_stdout([&] {
    delete a;
    delete b;
    delete c;
  });
  EXPECT_TRUE(same_rgb(rgba{10, 20, 30, 255}, pixel_at(stored.pixels(), 30, 10)));
}

TEST(PictureSharing, ACostumeOfSeveralSwapsCostsOneCopyAndSwapsInTurn) {
  ensure_video();
  const std::string dir = make_temp_dir("costume");
  // Left half one colour, right half another.
  const std::string file = write_picture(dir, "p.png", 64, 48, [](int x, int) {
    return x < 32 ? rgba{10, 20, 30, 255} : rgba{40, 50, 60, 255};
  });
  img_mgr stored;
  capture_stdout([&] { stored.load(file.c_str()); });
  ASSERT_NE(nullptr, stored.pixels());
  const SDL_PixelFormat* f = stored.pixels()->format;
  const Uint32 left = SDL_MapRGB(f, 10, 20, 30), right = SDL_MapRGB(f, 40, 50, 60);
  const Uint32 red = SDL_MapRGB(f, 255, 0, 0), blue = SDL_MapRGB(f, 0, 0, 255), grey = SDL_MapRGB(f, 9, 9, 9);
  // The second swap sees what the first wrote; the third finds its colour only in the copy.
  const std::vector<colour_swap> costume = {{left & 0xFFFFFF, red}, {red & 0xFFFFFF, blue}, {right & 0xFFFFFF, grey}};
  const long long before = picture_pixels_in_use();
  img_mgr* a = nullptr;
  img_mgr* b = nullptr;
  capture_stdout([&] {
    a = new img_mgr(stored);
    a->swap_colours(costume);
    b = new img_mgr(stored);
    b->swap_colours(costume);
  });
  EXPECT_TRUE(same_rgb(rgba{0, 0, 255, 255}, pixel_at(a->pixels(), 5, 10)));
  EXPECT_TRUE(same_rgb(rgba{9, 9, 9, 255}, pixel_at(a->pixels(), 50, 10)));
  EXPECT_TRUE(same_rgb(rgba{10, 20, 30, 255}, pixel_at(stored.pixels(), 5, 10)));
  EXPECT_EQ(a->pixels()->pixels, b->pixels()->pixels);
  // One recoloured copy for both, no picture per swap.
  EXPECT_EQ(before + 64 * 48, picture_pixels_in_use());
  capture_stdout([&] {
    delete a;
    delete b;
  });
}

TEST(PictureSharing, ZoomedCopiesAreKeptOncePerPixelsAndNeverLargerThanTheScreen) {
  const kept_zoom_copies straightforward_path;
  ensure_video();
  const std::string dir = make_temp_dir("zoomed");
  const std::string file = write_picture(dir, "p.png", 40, 30, [](int x, int) {
    return x >= 36 ? rgba{0, 255, 0, 255} : rgba{90, 60, 30, 255};
  });
  img_mgr stored;
  capture_stdout([&] { stored.load(file.c_str()); });
  img_mgr* a = nullptr;
  img_mgr* b = nullptr;
  capture_stdout([&] {
    a = new img_mgr(stored);
    b = new img_mgr(stored);
  });
  SDL_Surface* target = patterned_target(320, 240);
  const long long before = zoomed_pixels_in_use();
  capture_stdout([&] {
    a->draw_zoomed(0, 0, target, 1.5);
    b->draw_zoomed(0, 0, target, 1.5);
  });
  ASSERT_EQ(1u, a->zoom_cache.size());
  ASSERT_EQ(1u, b->zoom_cache.size());
  EXPECT_EQ(a->zoom_cache[0]->surface, b->zoom_cache[0]->surface);
  EXPECT_EQ(60LL * 45LL, zoomed_pixels_in_use() - before);

  // Far larger than the screen: drawn from its visible part, nothing kept.
  capture_stdout([&] { a->draw_zoomed(0, 0, target, 400.0); });
  EXPECT_EQ(1u, a->zoom_cache.size());
  EXPECT_EQ(60LL * 45LL, zoomed_pixels_in_use() - before);
  // The visible part is the picture's body, bottom edge kept at y + height.
  EXPECT_TRUE(same_rgb(rgba{90, 60, 30, 255}, pixel_at(target, 100, 20)));
  capture_stdout([&] {
    delete a;
    delete b;
  });
  SDL_FreeSurface(target);
}

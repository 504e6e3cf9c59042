// Zoomed copies kept for software drawing stay within their budget however
// many zooms a fight asks for; a picture whose copy was let go draws the same.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/video.h"
#include "gfx/img_mgr.h"
#include "gfx/pixel_share.h"
#include "picture_files.h"
#include "support/test_env.h"
#include "kept_zoom_copies.h"

namespace {

rgba checks(int x, int y) {
  return ((x / 5 + y / 7) % 2) ? rgba{0, 255, 0, 255} : rgba{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 40, 255};
}

std::vector<uint8_t> screen_bytes() {
  SDL_Surface* s = g_video.screen;
  std::vector<uint8_t> out(static_cast<size_t>(s->pitch) * s->h);
  std::memcpy(out.data(), s->pixels, out.size());
  return out;
}

TEST(ZoomBudget, KeptCopiesStayWithinTheBudgetAndAreMadeAgainWhenWanted) {
  const kept_zoom_copies straightforward_path;
  if (gl_test_mode()) GTEST_SKIP() << "software zoom copies";
  ensure_video();
  const std::string dir = make_temp_dir("zoom_budget");
  const std::string file = write_picture(dir, "fighter.png", 400, 500, checks);
  img_mgr picture;
  capture_stdout([&] { picture.load(file.c_str()); });
  SDL_Surface* screen = g_video.screen;

  // The first zoom, drawn on a clean screen, for comparing later.
  const double first_zoom = 0.3;  // a key the sweep below never uses
  SDL_FillRect(screen, nullptr, 0);
  capture_stdout([&] { picture.draw_zoomed(10, 20, screen, first_zoom); });
  const std::vector<uint8_t> first = screen_bytes();

  // A camera sweeping through every zoom key from 0.4 to 1.2, both ways round:
  // more copies than the budget holds (each is up to 484 x 605, within the screen's area).
  const long long let_go_before = zooms_let_go();
  long long most = 0;
  capture_stdout([&] {
    for (int flip = 0; flip < 2; ++flip) {
      for (int key = 10; key <= 30; ++key) {
        picture.draw_zoomed(0, 0, screen, key / 25.0 + 0.01);
        if (zoomed_pixels_in_use() > most) most = zoomed_pixels_in_use();
      }
      picture.flip();
    }
  });
  EXPECT_LE(most, max_total_zoomed_pixels);
  EXPECT_GT(zooms_let_go(), let_go_before);

  // The first zoom's copy was let go (drawn longest ago); drawing it again
  // makes it again, the same pixels in the same place.
  auto first_entry = [&]() -> const zoom_entry* {
    for (const zoom_entry* e : picture.zoom_cache) {
      if (e->zoom_key == zoom_key_for(first_zoom) && e->flipped == 0) return e;
    }
    return nullptr;
  };
  ASSERT_NE(nullptr, first_entry());
  EXPECT_EQ(nullptr, first_entry()->surface);
  SDL_FillRect(screen, nullptr, 0);
  capture_stdout([&] { picture.draw_zoomed(10, 20, screen, first_zoom); });
  EXPECT_TRUE(screen_bytes() == first);
  EXPECT_NE(nullptr, first_entry()->surface);
  EXPECT_LE(picture.zoom_cache.size(), 2u * 22u);  // one entry per key and orientation, refilled
}

// A zoom entry freed with its picture (a bullet's private copy) tells the
// budget first: letting go of its copy later must not write where the entry was.
TEST(ZoomBudget, AHolderDroppedBeforeItIsFreedIsNotWrittenLater) {
  const kept_zoom_copies straightforward_path;
  if (gl_test_mode()) GTEST_SKIP() << "software zoom copies";
  ensure_video();
  const std::string dir = make_temp_dir("zoom_holder");
  img_mgr picture;
  capture_stdout([&] { picture.load(write_picture(dir, "shot.png", 300, 300, checks).c_str()); });
  SDL_Surface* screen = g_video.screen;
  capture_stdout([&] { picture.draw_zoomed(0, 0, screen, 0.33); });
  ASSERT_FALSE(picture.zoom_cache.empty());
  zoom_entry* entry = picture.zoom_cache.back();
  SDL_Surface* const kept = entry->surface;
  ASSERT_NE(nullptr, kept);
  drop_zoom_holder(&entry->surface);

  // Enough other zooms to let go of every copy kept before them.
  img_mgr other;
  capture_stdout([&] { other.load(write_picture(dir, "big.png", 400, 500, checks).c_str()); });
  const long long let_go_before = zooms_let_go();
  capture_stdout([&] {
    for (int flip = 0; flip < 2; ++flip) {
      for (int key = 10; key <= 30; ++key) other.draw_zoomed(0, 0, screen, key / 25.0 + 0.01);
      other.flip();
    }
  });
  ASSERT_GT(zooms_let_go(), let_go_before);
  EXPECT_EQ(kept, entry->surface);  // untouched: nobody holds it through here any more
}

}  // namespace

// Dropping the full-opacity blending flag before a draw's blit must not change
// a pixel: a fighter-like sequence of draws gives the same screen either way.
#include <gtest/gtest.h>

#include "app/video.h"
#include "gfx/img_mgr.h"
#include "gfx/zoom_window.h"
#include "picture_files.h"
#include "support/test_env.h"

namespace {

rgba figure(int x, int y) {
  if ((x - 30) * (x - 30) + (y - 40) * (y - 40) > 900) return {0, 255, 0, 255};  // keyed around a disc
  return {static_cast<uint8_t>(x * 9), static_cast<uint8_t>(y * 5), static_cast<uint8_t>(x ^ y), 255};
}

std::vector<uint8_t> draw_sequence(bool fast, const std::string& file) {
  set_zoom_fast_path(fast);
  SDL_Surface* screen = g_video.screen;
  SDL_Surface* pattern = patterned_target(screen->w, screen->h);
  SDL_BlitSurface(pattern, nullptr, screen, nullptr);
  SDL_FreeSurface(pattern);
  img_mgr pose, moving, floor;
  for (img_mgr* img : {&pose, &moving, &floor}) img->load(file.c_str());
  pose.draw(10, 10);
  img_mgr copy(pose);
  copy.draw(100, 10);
  moving.draw_zoomed(200, 300, screen, 0.7);
  moving.draw_zoomed(300, 300, screen, 0.9);
  moving.draw_zoomed(400, 300, screen, 0.7);  // from the cache
  moving.flip();
  moving.draw_zoomed(500, 300, screen, 0.7);
  moving.draw_to(5, 200, screen);
  floor.draw_depth(0, 400, screen, 0.8, 0.17);
  pose.set_alpha(128);
  pose.draw(40, 20);
  pose.set_alpha(255);
  pose.draw(70, 120);
  set_zoom_fast_path(true);
  return surface_bytes(screen);
}

}  // namespace

TEST(PlainBlit, FighterDrawsGiveTheSameScreen) {
  ensure_video();
  std::string dir = make_temp_dir("plainblit");
  std::string file = write_picture(dir, "f.png", 60, 80, figure);
  const std::vector<uint8_t> reference = draw_sequence(false, file);
  const std::vector<uint8_t> fast = draw_sequence(true, file);
  EXPECT_TRUE(reference == fast);
  SDL_Surface* pattern = patterned_target(g_video.screen->w, g_video.screen->h);
  EXPECT_FALSE(surface_bytes(pattern) == fast);  // something was drawn
  SDL_FreeSurface(pattern);
}

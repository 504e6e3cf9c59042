// The fast zoomed draws must give exactly the pixels (and rectangles) of the
// straightforward ones: zoomed windows of wide layers, floors, off-screen cases.
#include <gtest/gtest.h>
#include <SDL_rotozoom.h>

#include "gfx/img_mgr.h"
#include "gfx/pixel_share.h"
#include "gfx/zoom_window.h"
#include "picture_files.h"
#include "support/test_env.h"

namespace {

rgba layer_colour(int x, int y) {
  if ((x / 37 + y / 23) % 3 == 0) return {0, 255, 0, 255};  // keyed
  return {static_cast<uint8_t>(x * 13 + y), static_cast<uint8_t>((x ^ y) & 0xF7), static_cast<uint8_t>(y * 5), 255};
}

struct draw_case {
  int src_x, src_w, x, y;
  double zoom;
  uint32_t alpha = 255;
};

class ZoomWindow : public testing::Test {
 protected:
  void SetUp() override {
    ensure_video();
    dir = make_temp_dir("zoomwin");
    path = write_picture(dir, "layer.png", 1600, 300, layer_colour);
  }
  void TearDown() override { set_zoom_fast_path(true); }

  // Draws with one path onto a fresh patterned target; returns its bytes and the rectangles.
  std::vector<uint8_t> render(bool fast, const draw_case& c, double depth, SDL_Rect* rects) {
    set_zoom_fast_path(fast);
    img_mgr img;
    img.load(path.c_str());
    img.no_zoom_cache = 1;
    if (c.alpha != 255) img.set_alpha(c.alpha);
    SDL_Surface* target = patterned_target(640, 480);
    img.src_rect.x = static_cast<Sint16>(c.src_x);
    img.src_rect.w = static_cast<Uint16>(c.src_w);
    if (depth > 0) {
      img.draw_depth(c.x, c.y, target, c.zoom, depth);
    } else {
      img.draw_zoomed(c.x, c.y, target, c.zoom);
    }
    rects[0] = img.src_rect;
    rects[1] = img.dest_rect;
    std::vector<uint8_t> bytes = surface_bytes(target);
    SDL_FreeSurface(target);
    return bytes;
  }

  void expect_same(const draw_case& c, double depth) {
    SDL_Rect ref_rects[2], fast_rects[2];
    std::vector<uint8_t> ref = render(false, c, depth, ref_rects);
    std::vector<uint8_t> fast = render(true, c, depth, fast_rects);
    changed_any = changed_any || ref != untouched();
    EXPECT_TRUE(ref == fast) << "src_x " << c.src_x << " x " << c.x << " y " << c.y << " zoom " << c.zoom
                             << " depth " << depth;
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(ref_rects[i].x, fast_rects[i].x);
      EXPECT_EQ(ref_rects[i].y, fast_rects[i].y);
      EXPECT_EQ(ref_rects[i].w, fast_rects[i].w);
      EXPECT_EQ(ref_rects[i].h, fast_rects[i].h);
    }
  }

  std::vector<uint8_t> untouched() {
    SDL_Surface* t = patterned_target(640, 480);
    std::vector<uint8_t> bytes = surface_bytes(t);
    SDL_FreeSurface(t);
    return bytes;
  }

  std::string dir, path;
  bool changed_any = false;  // the comparisons mean something only if pictures were drawn
};

const draw_case cases[] = {
    {0, 1600, 0, 180, 1.0 / 0.6 * 0.6},  // zoom exactly as given, whole picture
    {300, 1067, 0, 180, 0.6},            // a screen-wide window at the far zoom
    {517, 700, 0, 180, 0.913},
    {811, 640, -20, 200, 0.999},
    {0, 640, 35, 90, 0.75},
    {1200, 640, 0, 180, 0.61},
    {1500, 640, 0, 180, 0.8},             // window running past the picture's right edge
    {100, 640, 0, 470, 0.7},              // mostly below the target
    {100, 640, 0, -250, 0.66},            // top cut off
    {100, 640, 700, 100, 0.9},            // entirely right of the target
    {300, 1067, 0, 180, 0.6, 128},        // translucent: the blending path stays
    {40, 700, 12, 100, 0.93, 24},
};

}  // namespace

TEST_F(ZoomWindow, LineMapMatchesAFullRotozoom) {
  for (double zoom : {0.6, 0.613, 0.77, 0.999, 1.0, 0.5, 0.04}) {
    const std::vector<int>& cols = zoom_line_map(1600, zoom);
    const std::vector<int>& rows = zoom_line_map(300, zoom);
    SDL_Surface* probe = SDL_CreateRGBSurface(SDL_SWSURFACE, 1600, 300, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000);
    for (int y = 0; y < 300; ++y) {
      for (int x = 0; x < 1600; ++x) static_cast<Uint32*>(probe->pixels)[y * 1600 + x] = static_cast<Uint32>(y * 2048 + x);
    }
    SDL_Surface* z = rotozoomSurface(probe, 0.0, zoom, 0);
    ASSERT_EQ(z->w, static_cast<int>(cols.size()));
    ASSERT_EQ(z->h, static_cast<int>(rows.size()));
    int mismatches = 0;
    for (int v = 0; v < z->h; ++v) {
      for (int u = 0; u < z->w; ++u) {
        Uint32 got = *reinterpret_cast<Uint32*>(static_cast<Uint8*>(z->pixels) + v * z->pitch + u * 4);
        if (got != static_cast<Uint32>(rows[v] * 2048 + cols[u])) ++mismatches;
      }
    }
    EXPECT_EQ(mismatches, 0) << "zoom " << zoom;
    SDL_FreeSurface(z);
    SDL_FreeSurface(probe);
  }
}

TEST_F(ZoomWindow, DrawZoomedFastPathGivesTheSamePixels) {
  for (const draw_case& c : cases) expect_same(c, 0.0);
  EXPECT_TRUE(changed_any);
}

TEST_F(ZoomWindow, DrawDepthFastPathGivesTheSamePixels) {
  for (const draw_case& c : cases) expect_same(c, 0.17);
  expect_same({0, 1600, 0, 300, 0.85}, 0.5);
  expect_same({250, 1067, 10, 380, 0.62}, 0.05);
  EXPECT_TRUE(changed_any);
}

TEST_F(ZoomWindow, BlitPlanFollowsSdlClipping) {
  SDL_Surface* src = SDL_CreateRGBSurface(SDL_SWSURFACE, 50, 40, 32, 0xFF0000, 0xFF00, 0xFF, 0);
  SDL_Surface* dst = SDL_CreateRGBSurface(SDL_SWSURFACE, 60, 30, 32, 0xFF0000, 0xFF00, 0xFF, 0);
  const SDL_Rect srcs[] = {{-5, 3, 30, 50}, {10, -8, 60, 20}, {45, 35, 20, 20}, {0, 0, 50, 40}, {60, 0, 5, 5}};
  const SDL_Rect dsts[] = {{-10, -4, 0, 0}, {40, 20, 0, 0}, {5, 5, 0, 0}, {70, 2, 0, 0}, {-100, 29, 0, 0}};
  for (const SDL_Rect& s : srcs) {
    for (const SDL_Rect& d : dsts) {
      SDL_Rect sr = s, dr = d;
      SDL_BlitSurface(src, &sr, dst, &dr);
      blit_plan p = plan_blit(50, 40, s, dst->clip_rect, d);
      EXPECT_EQ(p.dst_out.x, dr.x);
      EXPECT_EQ(p.dst_out.y, dr.y);
      EXPECT_EQ(p.dst_out.w, dr.w);
      EXPECT_EQ(p.dst_out.h, dr.h);
    }
  }
  SDL_FreeSurface(src);
  SDL_FreeSurface(dst);
}

// A fighter's picture (zoom cache allowed) follows the camera's exact zoom:
// drawn at 0.51 after 0.50 (one 4% zoom step) it is the picture zoomed by
// 0.51, not the copy made at 0.50, and no zoomed copy is kept.
TEST_F(ZoomWindow, CachedPicturesAreDrawnAtTheExactZoomAndNothingIsKept) {
  const std::string small = write_picture(dir, "fighter.png", 184, 208, layer_colour);
  const long long kept_before = zoomed_pixels_in_use();
  std::vector<uint8_t> fast, exact;
  {
    set_zoom_fast_path(true);
    img_mgr img;
    img.load(small.c_str());
    SDL_Surface* target = patterned_target(640, 480);
    img.draw_zoomed(100, 50, target, 0.50);
    SDL_Surface* fresh = patterned_target(640, 480);
    img.draw_zoomed(100, 50, fresh, 0.51);
    fast = surface_bytes(fresh);
    SDL_FreeSurface(target);
    SDL_FreeSurface(fresh);
    EXPECT_EQ(kept_before, zoomed_pixels_in_use());
  }
  {
    set_zoom_fast_path(false);
    img_mgr img;
    img.load(small.c_str());
    img.no_zoom_cache = 1;  // zoomed whole at this very zoom
    SDL_Surface* target = patterned_target(640, 480);
    img.draw_zoomed(100, 50, target, 0.51);
    exact = surface_bytes(target);
    SDL_FreeSurface(target);
  }
  EXPECT_NE(untouched(), exact);
  EXPECT_TRUE(fast == exact);
}

// Image drawing, the health gauge and text in OpenGL mode, read back with
// glReadPixels from the frame being drawn.
#include <gtest/gtest.h>
#include <SDL_opengl.h>

#include <cstdio>
#include <filesystem>

#include "app/text_renderer.h"
#include "app/video.h"
#include "core/log.h"
#include "gfx/health_gauge.h"
#include "gfx/image_cache.h"
#include "gfx/img_mgr.h"
#include "picture_files.h"
#include "support/test_env.h"

namespace {

rgba gl_pixel(int x, int y) {
  Uint8 p[4] = {0, 0, 0, 0};
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, g_video.screen->h - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
  return {p[0], p[1], p[2], p[3]};
}

bool is(rgba c, int r, int g, int b) { return c.r == r && c.g == g && c.b == b; }

rgba halves(int x, int) {
  if (x >= 18 && x < 22) return {0, 255, 0, 255};
  return x < 20 ? rgba{255, 0, 0, 255} : rgba{0, 0, 255, 255};
}

class ImgGl : public testing::Test {
 protected:
  void SetUp() override {
    ensure_video();
    ASSERT_TRUE(opengl_mode()) << "run with GAME_TEST_MODE=gl under a display";
    dir = make_temp_dir("imggl");
    picture = write_picture(dir, "p.png", 40, 100, halves);
    g_video.clear_screen();
  }
  std::string dir, picture;
};

}  // namespace

TEST_F(ImgGl, UploadSizesTheTextureAndDropsTheSurface) {
  struct size_case { int w, h, tw, th; } cases[] = {{640, 480, 1024, 512}, {257, 3, 512, 4}, {1, 1, 1, 1}, {256, 256, 256, 256}};
  for (const size_case& c : cases) {
    std::string file = write_picture(dir, "s" + std::to_string(c.w) + ".png", c.w, c.h, halves);
    img_mgr img;
    img.load(file.c_str());
    shared_surface* holder = img.surface.get();
    std::string out = capture_stdout([&] { img.upload(); });
    ASSERT_TRUE(img.has_texture());
    char expected[400];
    std::snprintf(expected, sizeof expected, "opengl texture upload: got [%d] for [%s]/[%x]->[%x]\n",
                  static_cast<int>(img.texture), file.c_str(), log_addr(&img), log_addr(holder));
    EXPECT_EQ(out, expected);
    EXPECT_EQ(img.texture_width, c.tw);
    EXPECT_EQ(img.texture_height, c.th);
    EXPECT_EQ(img.surface.get(), nullptr);
    const uint32_t texture = img.texture;
    EXPECT_EQ(capture_stdout([&] { img.upload(); }), "");  // once only
    EXPECT_EQ(img.texture, texture);
  }
}

TEST_F(ImgGl, KeyedPictureShowsItsColoursAndNothingWhereGreen) {
  img_mgr img;
  img.load(picture.c_str());
  img.draw(100, 50);
  EXPECT_TRUE(is(gl_pixel(100, 50), 255, 0, 0));
  EXPECT_TRUE(is(gl_pixel(139, 149), 0, 0, 255));
  EXPECT_TRUE(is(gl_pixel(120, 80), 0, 0, 0));
  EXPECT_TRUE(is(gl_pixel(99, 50), 0, 0, 0));
  EXPECT_TRUE(is(gl_pixel(100, 150), 0, 0, 0));
}

TEST_F(ImgGl, DrawZoomedKeepsTheBottomEdge) {
  img_mgr img;
  img.load(picture.c_str());
  img.draw_zoomed(0, 300, g_video.screen, 0.5);
  EXPECT_TRUE(is(gl_pixel(2, 350), 255, 0, 0));
  EXPECT_TRUE(is(gl_pixel(2, 399), 255, 0, 0));
  EXPECT_TRUE(is(gl_pixel(2, 349), 0, 0, 0));
  EXPECT_TRUE(is(gl_pixel(2, 400), 0, 0, 0));
  EXPECT_EQ(img.src_rect.w, 40);
  EXPECT_EQ(img.dest_rect.h, 100);
}

TEST_F(ImgGl, FlippedIsMirroredWhenZoomedButNotInDraw) {
  img_mgr img;
  img.load(picture.c_str());
  img.flip();
  EXPECT_EQ(img.mirror.get(), nullptr);  // OpenGL mode mirrors texture coordinates instead
  img.draw_zoomed(0, 0, g_video.screen, 1.0);
  EXPECT_TRUE(is(gl_pixel(1, 50), 0, 0, 255));
  EXPECT_TRUE(is(gl_pixel(38, 50), 255, 0, 0));
  img.draw(200, 0);
  EXPECT_TRUE(is(gl_pixel(201, 50), 255, 0, 0));
  EXPECT_TRUE(is(gl_pixel(238, 50), 0, 0, 255));
}

TEST_F(ImgGl, DrawDepthLaysTheFloorInRowsShiftedLeft) {
  img_mgr img;
  img.load(picture.c_str());
  img.draw_depth(0, 300, g_video.screen, 0.5, 0.17);
  // The zoomed picture's bottom edge stays at 400: its 50 rows start at 350.
  EXPECT_TRUE(is(gl_pixel(1, 350), 255, 0, 0));
  EXPECT_TRUE(is(gl_pixel(1, 349), 0, 0, 0));
  // Row 20 is shifted left by 10: the 9 red columns are gone, the 2 green
  // (see-through) ones are at -1 and 0, blue begins at 1.
  EXPECT_TRUE(is(gl_pixel(0, 370), 0, 0, 0));
  EXPECT_TRUE(is(gl_pixel(1, 370), 0, 0, 255));
  std::string out = capture_stdout([&] { img.draw_depth(0, 300, g_video.screen, 0.5, 0.0); });
  EXPECT_NE(out.find("ERROR: draw_depth refused depth"), std::string::npos);
}

TEST_F(ImgGl, CopiesAndAssignmentsOfUploadedImages) {
  img_mgr* original = new img_mgr;
  original->load(picture.c_str());
  original->upload();
  const int texture = static_cast<int>(original->texture);
  img_mgr* copy = nullptr;
  std::string out = capture_stdout([&] { copy = new img_mgr(*original); });
  char expected[400];
  std::snprintf(expected, sizeof expected, "NOTICE: copying an empty img_mgr [%s] gl[%d]\nCould download, but not\n",
                picture.c_str(), texture);
  EXPECT_EQ(out, expected);
  EXPECT_EQ(static_cast<int>(copy->texture), texture);
  EXPECT_EQ(copy->get_width(), 40);
  EXPECT_EQ(copy->surface.get(), nullptr);

  img_mgr assigned;
  out = capture_stdout([&] { assigned = *original; });
  EXPECT_NE(out.find("Downloading [40,100]/32 surface from hw to sw\n"), std::string::npos) << out;
  ASSERT_NE(assigned.pixels(), nullptr);
  EXPECT_TRUE(is(pixel_at(assigned.pixels(), 0, 0), 255, 0, 0));
  EXPECT_TRUE(is(pixel_at(assigned.pixels(), 39, 99), 0, 0, 255));

  out = capture_stdout([&] { delete copy; });
  std::snprintf(expected, sizeof expected, "Would be opengl: Freeing [%d]\n", texture);
  EXPECT_EQ(out, expected);
  EXPECT_EQ(glIsTexture(static_cast<GLuint>(texture)), GL_TRUE);  // shared: left alive
  out = capture_stdout([&] { original->unload(); });
  std::snprintf(expected, sizeof expected, "opengl: Freeing [%d]\n", texture);
  EXPECT_EQ(out, expected);
  delete original;
}

TEST_F(ImgGl, UploadTakesTheSurfaceOpacity) {
  img_mgr img;
  img.load(picture.c_str());
  SDL_SetAlpha(img.pixels(), SDL_SRCALPHA, 255);
  img.set_alpha(24);
  img.draw(0, 0);
  EXPECT_EQ(img.alpha, 255u);
  EXPECT_TRUE(is(gl_pixel(0, 0), 255, 0, 0));
}

TEST_F(ImgGl, GaugeColumnsAndEndColours) {
  int32_t count = 1;
  draw_health_gauge(10, 10, 1, count, 100, 100, 20);
  EXPECT_EQ(count, 0);
  int lit = 0;
  for (int x = 90; x < 230; ++x) {
    rgba c = gl_pixel(x, 34);
    if (c.r || c.g || c.b) ++lit;
  }
  EXPECT_GE(lit, 100);
  EXPECT_LE(lit, 102);
  bool red_start = false, green_end = false;
  for (int x = 98; x < 104; ++x) red_start = red_start || is(gl_pixel(x, 34), 255, 0, 0);
  for (int x = 196; x < 202; ++x) green_end = green_end || is(gl_pixel(x, 34), 15, 255, 15);
  EXPECT_TRUE(red_start);
  EXPECT_TRUE(green_end);
  count = 0;
  g_video.clear_screen();
  draw_health_gauge(10, 10, 1, count, 100, 100, 20);
  EXPECT_TRUE(is(gl_pixel(150, 28), 0, 0, 0));
}

TEST_F(ImgGl, TextIsDrawnAsATexturedQuad) {
  const char* font = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  if (!std::filesystem::exists(font)) GTEST_SKIP() << "no font on this machine";
  glClearColor(0.0f, 0.0f, 0.8f, 1.0f);
  g_video.clear_screen();
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  text_renderer text;
  text.create(g_video.screen);
  text.open_font(font);
  text.x = 50;
  text.y = 60;
  text.draw_text("WWW");
  int white = 0, black = 0;
  for (int y = 60; y < 76; ++y) {
    for (int x = 50; x < 80; ++x) {
      rgba c = gl_pixel(x, y);
      if (is(c, 255, 255, 255)) ++white;
      if (is(c, 0, 0, 0)) ++black;
    }
  }
  EXPECT_GT(white, 10);
  EXPECT_GT(black, 10);
  EXPECT_EQ(gl_pixel(49, 59).b, 204);
  text.destroy();
}

TEST_F(ImgGl, APrivateCopysTextureGoesWithTheLastImageShowingIt) {
  img_mgr loaded;
  loaded.load(picture.c_str());
  private_image first = copy_private(&loaded);
  ASSERT_NE(nullptr, first);
  capture_stdout([&] { first->upload(); });
  const GLuint texture = first->texture;
  ASSERT_EQ(GL_TRUE, glIsTexture(texture));
  private_image second;
  capture_stdout([&] { second = copy_private(first.get()); });
  ASSERT_NE(nullptr, second);
  EXPECT_EQ(texture, second->texture);
  capture_stdout([&] { first.reset(); });
  EXPECT_EQ(GL_TRUE, glIsTexture(texture)) << "still shown by the second copy";
  capture_stdout([&] { second.reset(); });
  EXPECT_EQ(GL_FALSE, glIsTexture(texture));
}

// The title screens unload their pictures and load them again between
// screens: each load gets a texture of its own, never the freed name.
TEST_F(ImgGl, APictureLoadedAgainAfterUnloadIsUploadedAndDrawnAfresh) {
  const std::string blue = write_picture(dir, "blue.png", 20, 20, [](int, int) { return rgba{0, 0, 255, 255}; });
  img_mgr img;
  img.load(picture.c_str());
  img.upload();
  ASSERT_TRUE(img.has_texture());
  capture_stdout([&] { img.unload(); });
  EXPECT_FALSE(img.has_texture());
  img.load(blue.c_str());
  EXPECT_NE(capture_stdout([&] { img.upload(); }).find("opengl texture upload: got ["), std::string::npos);
  img.draw(10, 10);
  EXPECT_TRUE(is(gl_pixel(15, 15), 0, 0, 255));
}

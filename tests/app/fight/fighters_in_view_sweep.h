// Both fighters whole on the screen, told from the screen's pixels alone: the
// fighters wear pictures framed by four bands of colours no stage here uses
// (top, bottom, left, right) around a see-through middle. A fighter cut by a
// screen edge loses all of a band or part of one, so its opposite bands no
// longer match in size. The sweep walks the fighters apart to both ends of a
// stage, lifts them as high as a jump can take them (the world ends at row 0,
// so no jump goes higher than that: a high jump's worst case), lays them down
// knocked out near each edge, and checks every frame in the drawing mode the
// test program runs in. It also checks that no pixel is left at the clear
// colour: where the stage can't cover the screen, its backdrop must.
#pragma once
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "fight/fight_camera.h"
#include "app/fight/fight_setup.h"
#include "app/fight/match_round.h"
#include "app/video.h"
#include "fighter/lifeform.h"
#include "stage/level.h"
#include "support/test_env.h"
#include "support/test_media.h"

namespace in_view {

constexpr int band = 24;  // band width of the standing picture, pixels
const rgb clear_colour{1, 2, 3};

struct bands {
  rgb top, bottom, left, right;
};
// Colours far from the stages' and from each other's.
const bands fighter_bands[2] = {{{250, 10, 250}, {10, 250, 250}, {250, 250, 10}, {250, 130, 10}},
                                {{130, 10, 250}, {10, 130, 250}, {250, 10, 130}, {10, 250, 130}}};

// A w x h picture framed by the bands, key colour inside.
inline std::string framed_picture(const std::string& dir, const std::string& name, int w, int h, int across,
                                  int down, const bands& c) {
  return write_picture(dir, name, w, h, [&](int x, int y) {
    if (y < down) return c.top;
    if (y >= h - down) return c.bottom;
    if (x < across) return c.left;
    if (x >= w - across) return c.right;
    return rgb{0, 255, 0};
  });
}

// A fighter of the bundled size (184 x 208 standing, 212 x 76 lying) in the
// bands of entry k, standing on the floor.
inline lifeform* make_fighter(const std::string& dir, int k, int screen_h) {
  const std::string tag = "f" + std::to_string(k);
  const std::string stand = framed_picture(dir, tag + "_stand.png", 184, 208, band, band, fighter_bands[k]);
  const std::string lying = framed_picture(dir, tag + "_lying.png", 212, 76, band, 16, fighter_bands[k]);
  std::string text = "hp=100\nimages=9\n";
  for (int i = 0; i < 9; ++i) text += "image" + std::to_string(i) + "=" + stand + "\n";
  text += "knocked_out=" + lying + "\n";
  write_text_file(dir, tag + "_char.ini", text);
  lifeform* l = new lifeform;
  capture_stdout([&] { l->load((dir + "/" + tag + "_char.ini").c_str()); });
  l->y = screen_h - l->height;
  l->team = k;
  return l;
}

// Loads the level file of the data tree `data` on a w x h screen.
inline bool load_stage(level& stage, const std::string& data, int w, int h) {
  ensure_video(w, h);
  bool ok = true;
  capture_stdout([&] {
    if (g_video.screen->w != w || g_video.screen->h != h) ok = g_video.set_video_mode(w, h, 32) == 0;
    char old[4096];
    if (!ok || !getcwd(old, sizeof old) || chdir(data.c_str()) != 0) {
      ok = false;
      return;
    }
    stage.load(fight_level_file);
    ok = chdir(old) == 0;
  });
  return ok && g_video.screen && g_video.screen->w == w && g_video.screen->h == h && !stage.plist.empty();
}

// A stage of one piece with two parallax layers and a floor, all pictures
// w x h (the floor w x 100) in muted colours; `width` the background set's.
inline std::string small_stage_tree(int w, int h) {
  const std::string dir = make_temp_dir("in_view_stage");
  const std::string at = "rsrc/veltmoore/";
  write_picture(dir, at + "sky.png", w, h, [&](int, int y) { return rgb{90 + 100 * y / h, 130, 200}; });
  write_picture(dir, at + "hills.png", w, h, [&](int x, int y) {
    return y > h / 2 + (x / 50) % 4 * 10 ? rgb{80, 110, 60} : rgb{0, 255, 0};
  });
  write_picture(dir, at + "grove.png", w, h, [&](int x, int y) {
    return y > h * 4 / 5 ? rgb{120, 90, 60} : (x % 300 > 200 && y > h / 3 ? rgb{40, 90, 40} : rgb{0, 255, 0});
  });
  write_picture(dir, at + "floor.png", w, 100, [](int x, int y) {
    return (x / 40 + y / 20) % 2 ? rgb{110, 80, 50} : rgb{95, 70, 40};
  });
  write_text_file(dir, at + "bgset_veltmoore.ini",
                  "width=" + std::to_string(w) +
                      "\nimages=4\nimage0=rsrc\\veltmoore\\sky.png\nimage1=rsrc\\veltmoore\\hills.png\n"
                      "image2=rsrc\\veltmoore\\grove.png\nimage3=rsrc\\veltmoore\\floor.png\n");
  write_text_file(dir, at + "stage_veltmoore.ini",
                  "bgset=rsrc\\veltmoore\\bgset_veltmoore.ini\nlength=1\npart0=0\npart0parallax=2\n"
                  "part0parallax0=1\npart0parallax1=2\nfloor=3\n");
  return dir;
}

// A stage whose only piece is a strip of ground w x h with one layer of bushes.
inline std::string ground_stage_tree(int w, int h) {
  const std::string dir = make_temp_dir("in_view_ground");
  const std::string at = "rsrc/veltmoore/";
  write_picture(dir, at + "ground.png", w, h, [&](int x, int y) {
    return y < h / 4 ? rgb{150, 170, 200} : ((x / 64 + y / 32) % 2 ? rgb{100, 120, 60} : rgb{90, 105, 55});
  });
  write_picture(dir, at + "bushes.png", w, h, [&](int x, int y) {
    return y > h / 2 && x % 200 < 90 ? rgb{50, 80, 45} : rgb{0, 255, 0};
  });
  write_text_file(dir, at + "bgset_veltmoore.ini",
                  "width=" + std::to_string(w) +
                      "\nimages=2\nimage0=rsrc\\veltmoore\\ground.png\nimage1=rsrc\\veltmoore\\bushes.png\n");
  write_text_file(dir, at + "stage_veltmoore.ini",
                  "bgset=rsrc\\veltmoore\\bgset_veltmoore.ini\nlength=1\npart0=0\npart0parallax=1\npart0parallax0=1\n");
  return dir;
}

inline void clear_to(const rgb& c) {
  if (g_video.opengl()) {
    glClearColor(c.r / 255.0f, c.g / 255.0f, c.b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  } else {
    SDL_FillRect(g_video.screen, nullptr, SDL_MapRGB(g_video.screen->format, c.r, c.g, c.b));
  }
}

// The frame as colours, row 0 at the top.
inline std::vector<rgb> read_screen() {
  SDL_Surface* s = g_video.screen;
  std::vector<rgb> out(static_cast<size_t>(s->w) * s->h);
  if (g_video.opengl()) {
    std::vector<unsigned char> p(out.size() * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, s->w, s->h, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
    for (int y = 0; y < s->h; ++y) {
      for (int x = 0; x < s->w; ++x) {
        const unsigned char* q = &p[(static_cast<size_t>(s->h - 1 - y) * s->w + x) * 4];
        out[static_cast<size_t>(y) * s->w + x] = {q[0], q[1], q[2]};
      }
    }
    return out;
  }
  SDL_LockSurface(s);
  for (int y = 0; y < s->h; ++y) {
    const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch);
    for (int x = 0; x < s->w; ++x) {
      Uint8 r, g, b;
      SDL_GetRGB(row[x], s->format, &r, &g, &b);
      out[static_cast<size_t>(y) * s->w + x] = {r, g, b};
    }
  }
  SDL_UnlockSurface(s);
  return out;
}

struct extent {
  int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
  void add(int x, int y) { x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y); }
  bool seen() const { return x1 >= 0; }
  int w() const { return x1 - x0 + 1; }
  int h() const { return y1 - y0 + 1; }
};

// What is wrong with fighter k in the frame (empty when it is whole): a band
// missing, or opposite bands of different sizes (a mirrored fighter swaps
// left and right, which changes nothing here).
inline std::string fighter_fault(const std::vector<rgb>& frame, int w, int k) {
  const bands& c = fighter_bands[k];
  extent top, bottom, left, right;
  for (size_t i = 0; i < frame.size(); ++i) {
    const int x = static_cast<int>(i % w), y = static_cast<int>(i / w);
    if (frame[i] == c.top) top.add(x, y);
    if (frame[i] == c.bottom) bottom.add(x, y);
    if (frame[i] == c.left) left.add(x, y);
    if (frame[i] == c.right) right.add(x, y);
  }
  const std::string who = "fighter " + std::to_string(k);
  if (!top.seen() || !bottom.seen() || !left.seen() || !right.seen()) return who + " lacks a band (cut off)";
  constexpr int slack = 3;  // rounding of the zoomed draw, filtering at band edges
  if (std::abs(left.w() - right.w()) > slack || std::abs(top.w() - bottom.w()) > slack) {
    return who + " cut at a side: bands " + std::to_string(left.w()) + " and " + std::to_string(right.w()) +
           " wide, top " + std::to_string(top.w()) + " bottom " + std::to_string(bottom.w());
  }
  if (std::abs(top.h() - bottom.h()) > slack || std::abs(left.h() - right.h()) > slack) {
    return who + " cut at the top or bottom: top band " + std::to_string(top.h()) + " rows, bottom " +
           std::to_string(bottom.h());
  }
  return "";
}

struct sweep_result {
  int frames = 0;
  int faulty = 0;
  std::string first_fault;
  int backdrop_frames = 0;    // frames with nobody down in which the stage left part of the screen to its backdrop
  int reframed_standing = 0;  // frames with both standing in which the camera left the stage's view
};

// Draws one frame of the fight as the loop does (camera, stage, fighters) and
// checks it from its pixels.
class sweeper {
 public:
  sweeper(level& stage, const std::string& dir) : stage_(stage), saved_level_(g_level) {
    g_level = &stage;  // the fighters draw under its camera
    w_ = g_video.screen->w;
    h_ = g_video.screen->h;
    for (int k = 0; k < 2; ++k) f_[k] = make_fighter(dir, k, h_);
    const double s = stage.scale != 0.0 ? stage.scale : 1.0;
    right_end_ = static_cast<int>(stage.max_width / s) - f_[1]->width;
    centre_ = right_end_ / 2;
  }
  ~sweeper() {
    for (lifeform* l : f_) delete l;
    g_level = saved_level_;
  }

  // Fighter k at x, `lift` rows above the floor, knocked out or not.
  void place(int k, int x, int lift = 0, bool down = false) {
    lifeform& l = *f_[k];
    l.x = std::max(0, std::min(x, right_end_));
    l.y = std::max(0, h_ - l.height - lift);
    l.hp = down ? -1 : 100;
    l.state = down ? posture_hit : (lift > 0 ? posture_airborne : posture_standing);
  }

  void frame(const char* what) {
    lifeform& a = *f_[0];
    lifeform& b = *f_[1];
    a.facing = a.x <= b.x ? 1 : 0;
    b.facing = 1 - a.facing;
    const camera_view view = fight_camera(a, b, w_, h_, stage_.max_width, stage_.scale);
    apply_camera(stage_, view);
    const int sx = stage_.scroll_x, sy = stage_.scroll_y;
    const double zoom = stage_.zoom;
    apply_camera(stage_, view, a, b);
    const bool lying = !a.alive() || !b.alive();
    const bool standing = !lying && a.state == posture_standing && b.state == posture_standing;
    if (standing && (sx != stage_.scroll_x || sy != stage_.scroll_y || zoom != stage_.zoom)) ++result.reframed_standing;
    clear_to(clear_colour);
    stage_.shake = stage_.flash = 0;
    stage_.advance();
    stage_.draw();
    capture_stdout([&] {
      for (lifeform* l : f_) {
        if (l->alive() || !draw_lying(*l)) l->draw();
      }
    });
    const std::vector<rgb> pixels = read_screen();
    ++result.frames;
    std::string fault;
    for (int k = 0; k < 2 && fault.empty(); ++k) fault = fighter_fault(pixels, w_, k);
    if (fault.empty() && std::count(pixels.begin(), pixels.end(), clear_colour) > 0) {
      fault = "the clear colour shows";
    }
    if (!stage_.covers_screen(w_, h_, stage_.zoom) && !lying) ++result.backdrop_frames;
    if (fault.empty()) return;
    if (result.faulty++ == 0) {
      result.first_fault = std::string(what) + " (fighters at " + std::to_string(a.x) + "," + std::to_string(a.y) +
                           " and " + std::to_string(b.x) + "," + std::to_string(b.y) + "): " + fault;
    }
  }

  // Walk apart to both ends, jumps at the widest and the closest views and at
  // each end, knock-outs near each edge.
  sweep_result run() {
    const int lifts[] = {0, (h_ - f_[0]->height) / 2, h_};
    for (int t = 0; t <= 12; ++t) {
      place(0, centre_ - 120 - t * (centre_ - 120) / 12);
      place(1, centre_ + 120 + t * (right_end_ - centre_ - 120) / 12);
      frame("walking apart");
    }
    for (int lift : lifts) {
      place(0, 0, lift);
      place(1, right_end_);
      frame("left one jumps, far apart");
      place(0, 0);
      place(1, right_end_, lift);
      frame("right one jumps, far apart");
      place(0, centre_ - 100, lift);
      place(1, centre_ + 100);
      frame("left one jumps, close");
      place(0, centre_ - 100);
      place(1, centre_ + 100, lift);
      frame("right one jumps, close");
      place(0, 0, lift);
      place(1, 200);
      frame("left one jumps at the left end");
      place(0, right_end_ - 200);
      place(1, right_end_, lift);
      frame("right one jumps at the right end");
    }
    place(0, 0, h_);
    place(1, right_end_, h_);
    frame("both high, far apart");
    const int near_edge[] = {0, 10, 60};
    for (int x : near_edge) {
      place(0, x, 0, true);
      place(1, x + 250);
      frame("knocked out near the left edge");
      place(0, right_end_ - x - 250);
      place(1, right_end_ - x, 0, true);
      frame("knocked out near the right edge");
      place(0, x, 0, true);
      place(1, right_end_);
      frame("knocked out at the left, far apart");
    }
    return result;
  }

  sweep_result result;

 private:
  level& stage_;
  level* saved_level_;
  lifeform* f_[2] = {nullptr, nullptr};
  int w_ = 0, h_ = 0, right_end_ = 0, centre_ = 0;
};

// The sweep on the stage of the data tree `data` at w x h. A stage too small
// for the camera must show its backdrop somewhere.
inline void expect_in_view(const std::string& data, int w, int h, bool needs_backdrop) {
  level stage;
  ASSERT_TRUE(load_stage(stage, data, w, h));
  sweeper sweep(stage, make_temp_dir("in_view_fighters"));
  const sweep_result r = sweep.run();
  std::printf("fighters in view %dx%d: %d frames, %d faulty, %d with the backdrop, %d standing reframed\n", w, h,
              r.frames, r.faulty, r.backdrop_frames, r.reframed_standing);
  EXPECT_EQ(0, r.faulty) << r.first_fault;
  if (needs_backdrop) {
    EXPECT_GT(r.backdrop_frames, 0);
  } else {
    // A stage big enough looks as it always has while nobody jumps or lies
    // past its end: the camera keeps its view and the stage covers the screen.
    EXPECT_EQ(0, r.backdrop_frames);
    EXPECT_EQ(0, r.reframed_standing);
  }
}

}  // namespace in_view

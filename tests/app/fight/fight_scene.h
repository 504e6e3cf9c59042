// A small fight for the fight tests: a 640 x 480 screen, a 1600-wide level,
// and fighters built from tiny pictures and one-frame animations, with the
// keyboard and the clock under the test's control.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "anim/animation.h"
#include "app/fight/fight_text.h"
#include "app/frame_limiter.h"
#include "app/video.h"
#include "gfx/image_cache.h"
#include "core/png_write.h"
#include "core/seams.h"
#include "fighter/lifeform.h"
#include "fighter/path.h"
#include "stage/level.h"
#include "support/test_env.h"

struct seen_text {
  int x, y;
  std::string text;
};

inline std::vector<seen_text>& seen_texts() {
  static std::vector<seen_text> texts;
  return texts;
}

inline void watch_text(int x, int y, const char* text) { seen_texts().push_back({x, y, text}); }

inline Uint32 test_clock() { return 5000; }

class fight_scene : public ::testing::Test {
 protected:
  void SetUp() override {
    ensure_video(640, 480);
    dir = make_temp_dir("fight_scene");
    saved_level = g_level;
    stage.max_width = 1600;
    g_level = &stage;
    saved_list = lifeform_list;
    lifeform_list.clear();
    use_scripted_keys();
    for (int k = 0; k < SDLK_LAST; ++k) scripted_keys()[k] = 0;
    seams().ticks = test_clock;
    seen_texts().clear();
    fight_text_watcher = watch_text;
    limiter_was_on = limiter().enabled();
    limiter().set_enabled(false);
  }
  void TearDown() override {
    fight_text_watcher = nullptr;
    limiter().set_enabled(limiter_was_on);
    for (lifeform* l : lifeform_list) {
      bool ours = false;
      for (lifeform* k : keep) ours = ours || k == l;
      if (!ours) delete l;
    }
    lifeform_list = saved_list;
    g_level = saved_level;
    reset_seams();
    for (path* p : paths) delete p;
  }

  std::string picture(const std::string& name, int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    return write_solid_picture(dir, name, w, h, r, g, b);
  }

  // A move of one animation: `frames` frames of a w x h picture, `rate` ticks each.
  std::unique_ptr<move> make_move(const std::string& name, int w, int h, int frames = 1, int rate = 30,
                                  int grey = 200) {
    const std::string pic = picture(name + ".png", w, h, grey, grey, grey);
    std::string text = "images=" + std::to_string(frames) + "\n";
    for (int i = 0; i < frames; ++i) {
      text += "image" + std::to_string(i) + "=" + pic + "\nrate" + std::to_string(i) + "=" + std::to_string(rate) + "\n";
    }
    write_text_file(dir, name + ".ini", text);
    animation* a = new animation;
    capture_stdout([&] { a->load((dir + "/" + name + ".ini").c_str()); });
    std::unique_ptr<move> m = std::make_unique<move>();
    m->add(counted_ptr<animation>(a));
    return m;
  }

  // A fighter with nine 20 x 40 posture images, sixteen moves (slot n is
  // 20 + n pixels wide and 40 high) and a path of `mode`, standing on the floor.
  lifeform& fighter(int x, int team, int mode = mode_human) {
    lifeform* l = new lifeform;
    for (int i = 0; i < 9; ++i) {
      const std::string pic = picture("pose" + std::to_string(i) + ".png", 20, 40, 40, 40, 200);
      capture_stdout([&] { l->add_image(image_cache.fetch(pic.c_str())); });
    }
    for (int s = 0; s < move_slot_count; ++s) {
      l->moves.push_back(
          l->adopt_move(make_move("move" + std::to_string(s) + "_" + std::to_string(lifeform_list.size()), 20 + s, 40)));
    }
    path* p = new path;
    p->add_step(mode);
    paths.push_back(p);
    l->path = p;
    l->hp = l->max_hp = 100;
    l->damage = 1;
    l->width = 20;
    l->height = 40;
    l->x = x;
    l->y = 480 - 40;
    l->team = team;
    l->edge_death = 0;
    lifeform_list.push_back(l);
    return *l;
  }

  void press(int key) { scripted_keys()[key] = 1; }
  void release(int key) { scripted_keys()[key] = 0; }

  bool limiter_was_on = true;
  std::string dir;
  level stage;
  level* saved_level = nullptr;
  std::vector<lifeform*> saved_list;
  std::vector<lifeform*> keep;
  std::vector<path*> paths;
};

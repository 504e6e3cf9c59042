// A stage, a screen and a clean lifeform_list for tests that draw lifeforms;
// lifeforms the code appends (bullets, weapon projectiles) are freed after.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "anim/animation.h"
#include "gfx/image_cache.h"
#include "fighter/lifeform.h"
#include "fighter_test_data.h"
#include "stage/level.h"

class fighter_scene : public ::testing::Test {
 protected:
  void SetUp() override {
    ensure_video();
    dir = make_temp_dir("fighter_scene");
    saved_level = g_level;
    stage.max_width = 1600;
    g_level = &stage;
    saved_list = lifeform_list;
    lifeform_list.clear();
  }
  void TearDown() override {
    for (lifeform* l : lifeform_list) {
      bool ours = false;
      for (lifeform* k : keep) ours = ours || k == l;
      if (!ours) delete l;
    }
    lifeform_list = saved_list;
    g_level = saved_level;
    for (move* m : made_moves) delete m;
  }

  // A one-animation move from an animation file written with `text`.
  move* make_move(const std::string& name, const std::string& text) {
    std::string file = write_data(dir, name, text);
    animation* a = new animation;
    capture_stdout([&] { a->load(file.c_str()); });
    move* m = new move;
    m->add(counted_ptr<animation>(a));
    made_moves.push_back(m);
    return m;
  }
  img_mgr* picture(const std::string& name, int w, int h, uint8_t r = 200, uint8_t g = 30, uint8_t b = 30) {
    std::string file = write_picture(dir, name, w, h, r, g, b);
    img_mgr* img = nullptr;
    capture_stdout([&] {
      fetched<img_mgr> got = image_cache.fetch(file.c_str());
      img = got.get();
      if (!got.is_lent()) picture_copies.push_back(got.take_copy());
    });
    return img;
  }
  // Adds `l` to lifeform_list as one of the test's own lifeforms.
  void enlist(lifeform& l) {
    lifeform_list.push_back(&l);
    keep.push_back(&l);
  }

  std::string dir;
  std::vector<std::unique_ptr<img_mgr>> picture_copies;  // pictures fetched a second time
  level stage;
  level* saved_level = nullptr;
  std::vector<lifeform*> saved_list;
  std::vector<lifeform*> keep;
  std::vector<move*> made_moves;
};

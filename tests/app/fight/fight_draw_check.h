// Drawing a fight frame changes nothing: the stage, the result texts, every
// lifeform, what is drawn over it and the hit outlines, drawn again and
// again, leave the fight as it was (its replay hash, the stage's shake,
// flash and camera, every lifeform's place, posture and texts) and show the
// same pixels each time. Shared by the software and OpenGL tests.
#pragma once
#include <SDL_opengl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/fight/app_fight_host.h"
#include "app/fight/fight_loop.h"
#include "app/fight/object_update.h"
#include "fight/fight_state_hash.h"
#include "fight_scene.h"
#include "support/test_media.h"

namespace fight_draw {

// Everything a draw might be tempted to change, as one comparable text.
inline std::string snapshot(const level& stage) {
  char line[256];
  std::snprintf(line, sizeof line, "hash %016llx stage shake %d flash %d shown %d zoom %.17g scroll %d,%d\n",
                fight_state_hash(0, &stage, nullptr), stage.shake, stage.flash, stage.flash_shown, stage.zoom, stage.scroll_x,
                stage.scroll_y);
  std::string s = line;
  for (const lifeform* l : lifeform_list) {
    std::snprintf(line, sizeof line, "at %d,%d size %dx%d state %d action %d hp %d combo %d alpha %d gauge %d\n",
                  l->x, l->y, l->width, l->height, l->state, l->action, l->hp, l->combo_shown, l->alpha,
                  l->gauge_count);
    s += line;
  }
  return s;
}

inline std::vector<uint32_t> read_pixels() {
  SDL_Surface* s = g_video.screen;
  std::vector<uint32_t> out(static_cast<size_t>(s->w) * s->h);
  if (g_video.opengl()) {
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, s->w, s->h, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
    return out;
  }
  SDL_LockSurface(s);
  for (int y = 0; y < s->h; ++y) {
    const uint8_t* row = static_cast<const uint8_t*>(s->pixels) + y * s->pitch;
    for (int x = 0; x < s->w; ++x) out[static_cast<size_t>(y) * s->w + x] = reinterpret_cast<const uint32_t*>(row)[x];
  }
  SDL_UnlockSurface(s);
  return out;
}

inline void draw_frame(const fight_loop& loop, const level& stage) {
  clear_frame();
  stage.draw();
  draw_hit_outlines();
  loop.show_result();
  for (size_t k = 0; k < lifeform_list.size(); ++k) {
    const lifeform& l = *lifeform_list[k];
    if (!l.alive()) continue;
    l.draw();
    draw_lifeform_overlays(l, static_cast<int>(k));
  }
}

// A fight one frame in, then caught with everything a draw could move in
// flight: a shake and a flash, a scaled stage, a fallen fighter not yet put
// down, a combo text whose time is up, a special animation playing.
// `a` and `b` are the scene's two fighters, entries 0 and 1.
inline void expect_drawing_changes_nothing(lifeform& a, lifeform& b, level& stage) {
  fight_loop loop;
  capture_stdout([&] { loop.run_frame(); });
  stage.shake = 6;
  stage.flash = stage.flash_shown = 200;
  stage.flash_rate = 25;
  stage.scale = 0.5;
  a.hp = -1;
  a.y = 300;
  a.state = posture_hit;
  b.combo_shown = 2;
  b.combo_shown_until = test_clock() - 1;
  capture_stdout([&] { b.start_move(slot_punch, action_attack); });

  const std::string before = snapshot(stage);
  std::vector<uint32_t> first;
  for (int i = 0; i < 3; ++i) {
    capture_stdout([&] { draw_frame(loop, stage); });
    EXPECT_EQ(before, snapshot(stage)) << "after draw " << i;
    if (i == 0) {
      first = read_pixels();
    } else {
      EXPECT_TRUE(first == read_pixels()) << "draw " << i << " showed other pixels";
    }
  }
}

}  // namespace fight_draw

#include "title_art.h"

#include <cmath>

#include "block_font.h"
#include "poses.h"
#include "rng.h"
#include "shapes.h"

namespace {
// Copies a keyed fighter picture scaled by an integer-free factor.
void stamp(Canvas& dst, const Canvas& src, float scale, int x, int y) {
  int w = static_cast<int>(src.width() * scale), h = static_cast<int>(src.height() * scale);
  dst.blit_keyed(src.scaled(w, h), x, y);
}

void sunburst(Canvas& cv, Vec c, RGB ray, int rays) {
  const float pi = 3.14159265f;
  for (int i = 0; i < rays; ++i) {
    float a0 = (i * 2.0f) * pi / rays, a1 = (i * 2.0f + 1.0f) * pi / rays;
    fill(cv, polygon({c, c + Vec{std::cos(a0), std::sin(a0)} * 900.0f, c + Vec{std::cos(a1), std::sin(a1)} * 900.0f}),
         ray);
  }
}
}  // namespace

Canvas logo_picture() {
  Canvas cv(640, 480);
  cv.vgradient(0, 480, RGB{20, 12, 40}, RGB{120, 30, 50}, 8);
  sunburst(cv, Vec{320, 210}, RGB{60, 24, 64}, 18);
  fill(cv, circle(Vec{320, 210}, 118), RGB{250, 170, 70});
  fill(cv, circle(Vec{320, 210}, 104), RGB{255, 214, 120});
  TextStyle big;
  big.cell = 11;
  draw_text_centred(cv, "VELTMOORE", 150, big);
  TextStyle sub;
  sub.cell = 6, sub.top = {250, 244, 255}, sub.bottom = {166, 154, 204}, sub.shadow = 3;
  draw_text_centred(cv, "BRAWL", 250, sub);
  TextStyle small;
  small.cell = 3, small.top = {255, 220, 200}, small.bottom = {220, 150, 150}, small.outline_px = 2, small.shadow = 2;
  draw_text_centred(cv, "FOUR FIGHTERS - ONE MOOR", 420, small);
  return cv;
}

Canvas group_backdrop() {
  Canvas cv(640, 480);
  cv.vgradient(0, 480, RGB{34, 28, 70}, RGB{200, 110, 90}, 10);
  sunburst(cv, Vec{320, 480}, RGB{70, 40, 90}, 22);
  cv.rect(0, 430, 640, 50, RGB{40, 30, 44});
  cv.rect(0, 430, 640, 3, RGB{90, 70, 96});
  const char* poses[] = {"special3", "kick3", "special1", "punch3"};
  const int xs[] = {-20, 130, 300, 440};
  const auto& r = roster();
  for (size_t i = 0; i < r.size(); ++i) {
    Canvas pic = paint_fighter(r[i].look, pose_for(poses[i], r[i].look.build));
    if (i < 2) pic = pic.mirrored();  // the left pair faces inwards
    stamp(cv, pic, 1.25f, xs[i], 480 - static_cast<int>(kFighterH * 1.25f) - 30);
  }
  TextStyle st;
  st.cell = 5;
  draw_text_centred(cv, "CHOOSE YOUR FIGHTER", 24, st);
  return cv;
}

Canvas symbol_picture(const FighterDef& f) {
  Canvas cv(64, 64);
  Ramp ring{f.look.glow.light, f.look.accent, f.look.accent_dark};
  draw(cv, circle(Vec{32, 32}, 28), toned(ring, 2, 5, 2));
  draw(cv, circle(Vec{32, 32}, 20), toned(f.look.top.near, 2, 4, 2));
  TextStyle st;
  st.cell = 4, st.outline_px = 2, st.shadow = 0;
  st.top = f.look.glow.light, st.bottom = f.look.glow.base;
  std::string initial(1, static_cast<char>(f.name[0] - 'a' + 'A'));
  draw_text(cv, initial, 32 - 10, 32 - 14, st);
  return cv;
}

Canvas action_shot(const FighterDef& f) {
  Canvas cv(240, 300);
  // A slanted band of the fighter's energy colour behind the figure.
  fill(cv, polygon({Vec{150, 0}, Vec{240, 0}, Vec{90, 300}, Vec{0, 300}}), f.look.glow.shade);
  fill(cv, polygon({Vec{175, 0}, Vec{215, 0}, Vec{65, 300}, Vec{25, 300}}), f.look.glow.base);
  const char* pose = f.look.build == Build::kicker ? "round3" : "special3";
  Canvas pic = paint_fighter(f.look, pose_for(pose, f.look.build));
  stamp(cv, pic, 1.4f, (240 - static_cast<int>(kFighterW * 1.4f)) / 2 + 6, 300 - static_cast<int>(kFighterH * 1.4f));
  TextStyle st;
  st.cell = 4, st.outline_px = 2, st.shadow = 2;
  std::string upper;
  for (char c : f.name) upper += static_cast<char>(c - 'a' + 'A');
  draw_text(cv, upper, 8, 8, st);
  return cv;
}

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

Canvas menu_backdrop() {
  Canvas cv(640, 480);
  cv.vgradient(0, 480, RGB{14, 16, 44}, RGB{150, 70, 80}, 8);
  Rng rng(27);
  for (int i = 0; i < 90; ++i) {  // stars over the moor
    const int x = rng.below(640), y = rng.below(220);
    cv.rect(x, y, 2, 2, RGB{230, 220, 255});
  }
  fill(cv, circle(Vec{500, 110}, 46), RGB{250, 230, 180});
  fill(cv, circle(Vec{520, 98}, 42), RGB{40, 30, 70});  // a crescent moon
  // Rolling hills, far to near, and the keep on the far one.
  fill(cv, polygon({Vec{0, 330}, Vec{160, 290}, Vec{330, 310}, Vec{520, 280}, Vec{640, 300}, Vec{640, 480}, Vec{0, 480}}),
       RGB{60, 40, 80});
  cv.rect(120, 228, 36, 70, RGB{44, 30, 62});
  cv.rect(160, 250, 50, 48, RGB{44, 30, 62});
  for (int k = 0; k < 4; ++k) cv.rect(120 + k * 10, 220, 6, 8, RGB{44, 30, 62});
  cv.rect(134, 250, 6, 10, RGB{250, 200, 90});
  fill(cv, polygon({Vec{0, 400}, Vec{200, 360}, Vec{420, 390}, Vec{640, 350}, Vec{640, 480}, Vec{0, 480}}),
       RGB{34, 26, 44});
  cv.rect(0, 440, 640, 40, RGB{24, 18, 30});
  // Two fighters facing off at the edges, clear of the menu in the middle.
  const auto& r = roster();
  if (r.size() >= 2) {
    Canvas left = paint_fighter(r[0].look, pose_for("punch3", r[0].look.build)).mirrored();
    Canvas right = paint_fighter(r[r.size() - 1].look, pose_for("kick3", r[r.size() - 1].look.build));
    stamp(cv, left, 1.1f, -30, 470 - static_cast<int>(kFighterH * 1.1f));
    stamp(cv, right, 1.1f, 640 - static_cast<int>(kFighterW * 1.1f) + 30, 470 - static_cast<int>(kFighterH * 1.1f));
  }
  TextStyle st;
  st.cell = 6;
  draw_text_centred(cv, "VELTMOORE BRAWL", 20, st);
  return cv;
}

Canvas arcade_ending() {
  Canvas cv(640, 480);
  cv.vgradient(0, 480, RGB{60, 20, 40}, RGB{240, 170, 70}, 8);
  sunburst(cv, Vec{160, 330}, RGB{250, 200, 110}, 20);
  // A dark band for the game's "Arcade cleared" to stand out on.
  cv.rect(0, 30, 640, 70, RGB{46, 18, 36});
  cv.rect(0, 30, 640, 3, RGB{230, 190, 110});
  cv.rect(0, 97, 640, 3, RGB{230, 190, 110});
  // The podium the champion stands on (the game draws the fighter over it).
  cv.rect(30, 400, 260, 80, RGB{70, 50, 60});
  cv.rect(30, 400, 260, 6, RGB{230, 190, 110});
  cv.rect(30, 474, 260, 6, RGB{40, 28, 36});
  Rng rng(2027);
  const RGB bits[] = {{255, 240, 140}, {255, 120, 120}, {140, 220, 255}, {200, 255, 160}};
  for (int i = 0; i < 160; ++i) {  // confetti
    const int x = rng.below(640), y = rng.below(400);
    cv.rect(x, y, 3 + rng.below(3), 2 + rng.below(3), bits[rng.below(4)]);
  }
  TextStyle st;
  st.cell = 4, st.outline_px = 2, st.shadow = 2;
  draw_text(cv, "CHAMPION", 160 - text_width("CHAMPION", 4) / 2, 426, st);
  return cv;
}

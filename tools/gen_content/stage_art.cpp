#include "stage_art.h"

#include <cmath>
#include <utility>
#include <vector>

#include "rng.h"
#include "shapes.h"

namespace {
// A ridge line across the whole width, built from a few octaves of smooth noise
// so the mountains look irregular but repeat exactly on every run.
std::vector<float> ridge(uint32_t seed, float base, float amp, int octaves) {
  Rng rng(seed);
  std::vector<float> h(kStageW, base);
  for (int o = 0; o < octaves; ++o) {
    int step = 400 >> o;
    float a = amp / static_cast<float>(1 << o);
    std::vector<float> knots(kStageW / step + 2);
    for (float& k : knots) k = rng.range(-a, a);
    for (int x = 0; x < kStageW; ++x) {
      float t = static_cast<float>(x % step) / step;
      float s = t * t * (3 - 2 * t);
      h[x] += knots[x / step] * (1 - s) + knots[x / step + 1] * s;
    }
  }
  return h;
}

void fill_below(Canvas& cv, const std::vector<float>& top, RGB c, int bottom) {
  for (int x = 0; x < cv.width(); ++x)
    for (int y = std::max(0, static_cast<int>(top[x])); y < bottom; ++y) cv.set(x, y, c);
}

void stars(Canvas& cv, uint32_t seed, int count, int max_y) {
  Rng rng(seed);
  for (int i = 0; i < count; ++i) {
    int x = rng.below(cv.width()), y = rng.below(max_y);
    RGB c = rng.below(4) == 0 ? RGB{255, 236, 200} : RGB{210, 214, 255};
    cv.set(x, y, c);
    if (rng.below(6) == 0) {
      cv.set(x + 1, y, c), cv.set(x - 1, y, c), cv.set(x, y + 1, c), cv.set(x, y - 1, c);
    }
  }
}

void tree(Canvas& cv, float x, float ground, float h, RGB trunk, RGB leaf, RGB leaf_dark) {
  draw(cv, bar(Vec{x, ground}, Vec{x, ground - h * 0.45f}, h * 0.05f), flat(trunk, 2));
  for (int i = 0; i < 3; ++i) {
    float y = ground - h * (0.35f + i * 0.2f), w = h * (0.34f - i * 0.08f);
    draw(cv, polygon({Vec{x - w, y + h * 0.12f}, Vec{x, y - h * 0.3f}, Vec{x + w, y + h * 0.12f}}),
         toned(Ramp{leaf, leaf, leaf_dark}, 2, 6, 0));
  }
}
// The camera zooms out to about 0.6 when the fighters stand apart, and pictures
// are zoomed about their bottom edge: the back pieces are taller than the screen
// so the zoomed-out view still has sky at the top. `art` goes to the bottom.
//
// The stage shifts the window of a layer at depth d down by d quarters of how
// much the pictures exceed the screen's height, so the art of deeper layers is
// placed that much higher; each column's lowest colour continues below it.
Canvas lifted(const Canvas& art, Canvas&& tall, int depth) {
  const int raise = depth * (kStageH - 480) / 4;
  const int top = tall.height() - art.height() - raise;
  tall.blit_keyed(art, 0, top);
  for (int x = 0; x < art.width(); ++x) {
    RGB last = art.get(x, art.height() - 1);
    if (last == kKey) continue;
    for (int y = top + art.height(); y < tall.height(); ++y) tall.set(x, y, last);
  }
  return std::move(tall);
}

Canvas ground_art() {
  Canvas cv(kStageW, 480);
  cv.vgradient(0, 300, RGB{38, 32, 84}, RGB{246, 150, 96}, 12);
  cv.vgradient(300, 480, RGB{246, 150, 96}, RGB{250, 196, 130}, 10);
  stars(cv, 7, 260, 150);
  fill(cv, circle(Vec{1040, 250}, 46), RGB{255, 226, 160});
  fill(cv, circle(Vec{1040, 250}, 34), RGB{255, 244, 210});
  // Two ranges of distant mountains, the nearer one darker.
  fill_below(cv, ridge(101, 250, 90, 4), RGB{150, 98, 132}, 480);
  fill_below(cv, ridge(202, 300, 70, 4), RGB{104, 70, 110}, 480);
  return cv;
}

}  // namespace

Canvas stage_ground_piece() {
  Canvas sky(kStageW, kStageH);
  const int extra = kStageH - 480 - 2 * (kStageH - 480) / 4;  // above the raised art
  sky.vgradient(0, extra, RGB{12, 10, 34}, RGB{38, 32, 84}, 12);
  stars(sky, 1212, extra * 4 / 5, extra);
  return lifted(ground_art(), std::move(sky), 2);
}

namespace {

Canvas far_art() {
  Canvas cv(kStageW, 480);
  auto hills = ridge(303, 330, 40, 3);
  // Ruined keep on the central hill.
  const RGB stone{70, 52, 88}, stone_dark{52, 38, 66}, window{255, 200, 110};
  float base = hills[800];
  cv.rect(740, static_cast<int>(base) - 120, 50, 130, stone);
  cv.rect(790, static_cast<int>(base) - 80, 70, 90, stone_dark);
  cv.rect(860, static_cast<int>(base) - 140, 36, 150, stone);
  for (int i = 0; i < 4; ++i) cv.rect(740 + i * 14, static_cast<int>(base) - 132, 8, 12, stone);
  for (int i = 0; i < 3; ++i) cv.rect(860 + i * 13, static_cast<int>(base) - 152, 8, 12, stone);
  cv.rect(758, static_cast<int>(base) - 90, 10, 16, window);
  cv.rect(872, static_cast<int>(base) - 110, 8, 14, window);
  fill_below(cv, hills, RGB{76, 56, 94}, 480);
  fill_below(cv, ridge(404, 370, 25, 3), RGB{62, 46, 80}, 480);
  return cv;
}

Canvas near_art() {
  Canvas cv(kStageW, 480);
  Rng rng(505);
  const RGB trunk{40, 28, 34}, leaf{38, 58, 70}, leaf_dark{24, 36, 48};
  for (int i = 0; i < 14; ++i) {
    float x = 40 + i * 115 + rng.range(-30, 30);
    tree(cv, x, 392, rng.range(150, 230), trunk, leaf, leaf_dark);
  }
  // Standing stones.
  const Ramp rock{RGB{150, 140, 160}, RGB{112, 102, 126}, RGB{74, 66, 88}};
  for (int i = 0; i < 5; ++i) {
    float x = 160 + i * 320 + rng.range(-40, 40), h = rng.range(70, 110);
    draw(cv, polygon({Vec{x - 20, 392}, Vec{x - 14, 392 - h}, Vec{x + 4, 392 - h - 10}, Vec{x + 18, 392 - h + 6},
                      Vec{x + 22, 392}}),
         toned(rock, 2, 7, 3));
  }
  // Earth bank with grass tufts, in front of everything.
  auto bank = ridge(606, 384, 10, 2);
  fill_below(cv, bank, RGB{58, 40, 42}, 480);
  for (int x = 0; x < kStageW; x += 7) {
    int top = static_cast<int>(bank[x]);
    int h = 4 + static_cast<int>(rng.below(8));
    draw(cv, polygon({Vec{x - 3.0f, top + 2.0f}, Vec{x + 1.0f, top - static_cast<float>(h)}, Vec{x + 4.0f, top + 2.0f}}),
         flat(RGB{96, 120, 60}, 0));
  }
  return cv;
}

}  // namespace

Canvas stage_far_layer() { return lifted(far_art(), Canvas(kStageW, kStageH), 1); }
Canvas stage_near_layer() { return lifted(near_art(), Canvas(kStageW, kStageH), 0); }

Canvas stage_floor() {
  Canvas cv(kStageW, 100);
  Rng rng(909);
  cv.fill(RGB{46, 36, 44});
  // Rows of flagstones, each row a little taller toward the viewer.
  int y = 0, row = 0;
  while (y < 100) {
    int h = 14 + row * 4;
    int x = -static_cast<int>(rng.below(60));
    while (x < kStageW) {
      int w = 60 + static_cast<int>(rng.below(50));
      uint8_t v = static_cast<uint8_t>(104 + rng.below(30));
      RGB face{v, static_cast<uint8_t>(v - 14), static_cast<uint8_t>(v + 4)};
      cv.rect(x + 2, y + 2, w - 3, h - 3, face);
      cv.rect(x + 2, y + 2, w - 3, 2, mix(face, RGB{255, 230, 200}, 0.3f));
      x += w;
    }
    y += h;
    ++row;
  }
  return cv;
}

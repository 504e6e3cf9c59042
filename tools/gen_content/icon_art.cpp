#include "icon_art.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>

#include "core/png_write.h"
#include "figure.h"
#include "poses.h"
#include "roster.h"
#include "shapes.h"

namespace {

constexpr int kMaster = 256;

Canvas medallion() {
  Canvas cv(kMaster, kMaster);  // key-coloured: transparent
  const Vec centre{128, 128};
  Canvas sky(kMaster, kMaster);
  sky.vgradient(0, kMaster, RGB{20, 12, 40}, RGB{150, 40, 60}, 8);
  fill(cv, circle(centre, 126), RGB{250, 170, 70});
  fill(cv, circle(centre, 116), RGB{40, 20, 50});
  // The sky fills the disc; the fighter is clipped to it, feet on its rim.
  const FighterDef& brela = roster()[0];
  Canvas fighter = paint_fighter(brela.look, pose_for("special3", brela.look.build));
  const int fx = (kMaster - kFighterW) / 2 + 4, fy = kMaster - kFighterH - 14;
  for (int y = 0; y < kMaster; ++y) {
    for (int x = 0; x < kMaster; ++x) {
      const float dx = x + 0.5f - centre.x, dy = y + 0.5f - centre.y;
      if (dx * dx + dy * dy > 112.0f * 112.0f) continue;
      RGB c = sky.get(x, y);
      if (fighter.inside(x - fx, y - fy) && fighter.get(x - fx, y - fy) != kKey) c = fighter.get(x - fx, y - fy);
      cv.set(x, y, c);
    }
  }
  return cv;
}

// RGBA of `cv` averaged over `factor` x `factor` blocks, key colour transparent.
std::vector<uint8_t> averaged_rgba(const Canvas& cv, int factor) {
  const int w = cv.width() / factor, h = cv.height() / factor;
  std::vector<uint8_t> out(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      unsigned r = 0, g = 0, b = 0, opaque = 0;
      for (int sy = 0; sy < factor; ++sy) {
        for (int sx = 0; sx < factor; ++sx) {
          const RGB c = cv.get(x * factor + sx, y * factor + sy);
          if (c == kKey) continue;
          r += c.r, g += c.g, b += c.b, ++opaque;
        }
      }
      uint8_t* p = &out[(static_cast<size_t>(y) * w + x) * 4];
      if (opaque) p[0] = r / opaque, p[1] = g / opaque, p[2] = b / opaque;
      p[3] = static_cast<uint8_t>(opaque * 255 / (factor * factor));
    }
  }
  return out;
}

bool make_dirs(const std::string& path) {
  for (size_t at = path.find('/', 1); ; at = path.find('/', at + 1)) {
    const std::string part = path.substr(0, at);
    if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    if (at == std::string::npos) return true;
  }
}

}  // namespace

std::vector<std::string> write_icons(const std::string& dir) {
  std::vector<std::string> errors;
  const Canvas master = medallion();
  for (int size : {64, 128, 256}) {
    const std::string folder = dir + "/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
    const std::string file = folder + "/veltmoore-brawl.png";
    const std::vector<uint8_t> rgba = averaged_rgba(master, kMaster / size);
    if (!make_dirs(folder) || !write_png(file, rgba.data(), size, size, size * 4, 4)) {
      errors.push_back("can't write " + file);
    }
  }
  return errors;
}

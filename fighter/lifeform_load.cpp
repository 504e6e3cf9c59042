// Reading a character file into a freshly constructed lifeform.
#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "core/config_file.h"
#include "core/log.h"
#include "fighter/lifeform.h"
#include "fighter/sound_effect.h"

namespace {

// A count read from the file, or 0 (with an ERROR line) when outside 0..limit.
int bounded_count(const config_file& cfg, const char* file, const char* key, int limit) {
  const int n = cfg.get_int(key);
  if (n < 0 || n > limit) {
    log_out("ERROR: [%s] key [%s] value [%d] refused: must be 0..%d\n", file, key, n, limit);
    return 0;
  }
  return n;
}

// A size or speed factor read only when present: NaN, infinite and values
// outside lo..hi (zero only when `zero_ok`) are refused with an ERROR line and
// `current` stays.
double bounded_factor(const config_file& cfg, const char* file, const char* key, double lo, double hi,
                      bool zero_ok, double current) {
  const double v = cfg.get_float(key);
  const bool ok = v >= lo && v <= hi && (v != 0.0 || zero_ok);  // false for NaN
  if (ok) return v;
  log_out("ERROR: [%s] key [%s] value [%s] refused: must be %s %g and at most %g, using %g\n", file, key,
          cfg.get_string(key), zero_ok ? "at least" : "above", lo, hi, current);
  return current;
}

// A size override: outside 0..max_char_size is refused (0, no override).
int bounded_size(const config_file& cfg, const char* file, const char* key) {
  if (!cfg.has_key(key)) return 0;
  const int v = cfg.get_int(key);
  if (v < 0 || v > max_char_size) {
    log_out("ERROR: [%s] key [%s] value [%d] refused: must be 0..%d\n", file, key, v, max_char_size);
    return 0;
  }
  return v;
}

// The picture of that name from the image cache in the fighter's costume: with
// `on_copies` a first fetch is copied, so the cache's picture keeps the file's colours.
fetched<img_mgr> costumed_picture(const std::string& name, const std::vector<colour_swap>& swaps, bool on_copies) {
  fetched<img_mgr> picture = image_cache.fetch(name.c_str());
  if (!picture.get()) return picture;
  if (on_copies && !swaps.empty() && picture.is_lent()) {
    std::unique_ptr<img_mgr> own = cache_copy(*picture.get());
    if (own) picture = fetched<img_mgr>::given(std::move(own));
  }
  picture.get()->swap_colours(swaps);
  return picture;
}

std::string key_of(const char* fmt, int a, int b = 0) {
  char key[64];
  std::snprintf(key, sizeof key, fmt, a, b);
  return key;
}

}  // namespace

void lifeform::load(const char* char_path) {
  if (!char_path) char_path = "";
  hook_frame_sounds();  // done before main already; keeps the sounds linked in
  if (!combos) combos = std::make_shared<std::vector<combo>>();  // a copy shares its source's list
  // A file that cannot be opened leaves every key absent: the fighter gets the
  // defaults and the fight goes on (config_file has said "Can't open").
  config_file cfg;
  cfg.load(char_path);
  name = fighter_name_from_file(char_path);
  if (cfg.has_key("name")) {
    const std::string own = fighter_name_from_key(cfg.get_string("name"));
    if (!own.empty()) name = own;
  }

  if (cfg.has_key("scale")) scale = bounded_factor(cfg, char_path, "scale", 0.0, max_char_scale, false, scale);
  hp = max_hp = cfg.get_int("hp");
  if (cfg.has_key("speed")) speed = bounded_factor(cfg, char_path, "speed", 0.0, max_char_speed, true, speed);

  if (cfg.has_key("moves")) {
    const int n = bounded_count(cfg, char_path, "moves", max_char_moves);
    for (int i = 0; i < n; ++i) {
      owned_animations.push_back(std::make_unique<animation>());
      animation* a = owned_animations.back().get();
      a->colour_swaps = colour_swaps;
      a->costume_on_copies = costume_on_copies;
      a->load(cfg.get_string(key_of("move%d", i).c_str()));
      const std::string scale_key = key_of("move%dscale", i);
      if (cfg.has_key(scale_key.c_str())) {
        a->scale = bounded_factor(cfg, char_path, scale_key.c_str(), 0.0, max_char_scale, false, a->scale);
      }
      std::unique_ptr<move> m = std::make_unique<move>();
      m->add(counted_ptr<animation>(a));
      moves.push_back(adopt_move(std::move(m)));
    }
  }

  const int width_override = bounded_size(cfg, char_path, "width");
  const int height_override = bounded_size(cfg, char_path, "height");

  if (cfg.has_key("images")) {
    width = 0;
    height = 0;
    const int m = bounded_count(cfg, char_path, "images", max_char_images);
    for (int i = 0; i < m; ++i) {
      const std::string name = cfg.get_string(key_of("image%d", i).c_str());
      fetched<img_mgr> picture = costumed_picture(name, colour_swaps, costume_on_copies);
      img_mgr* img = picture.get();
      if (!img) {
        log_out("ERROR: [%s] image [%s] could not be copied, state [%d] has no image\n", char_path,
                name.c_str(), i);
        continue;
      }
      if (img->get_width() > width) width = img->get_width();
      if (img->get_height() > height) height = img->get_height();
      add_image(std::move(picture));
    }
  }

  // Not a posture: the box stays the postures' size.
  if (cfg.has_key("knocked_out")) {
    const std::string name = cfg.get_string("knocked_out");
    fetched<img_mgr> picture = costumed_picture(name, colour_swaps, costume_on_copies);
    knocked_out_image = picture.get();
    if (!knocked_out_image) {
      log_out("ERROR: [%s] knocked_out picture [%s] could not be copied, the fighter falls in its hit posture\n",
              char_path, name.c_str());
    } else if (!picture.is_lent()) {
      owned_images.push_back(hold_private(picture.take_copy()));
    }
  }

  if (cfg.has_key("combos")) {
    const int k = bounded_count(cfg, char_path, "combos", max_char_combos);
    for (int i = 0; i < k; ++i) {
      combo c;
      c.combotype = cfg.get_int(key_of("combo%dmove", i).c_str());
      const std::string steps_key = key_of("combo%dmoves", i);
      const int s = bounded_count(cfg, char_path, steps_key.c_str(), max_combo_steps);
      if (controls) {
        for (int j = 0; j < s; ++j) {
          const char* name = cfg.get_string(key_of("combo%dmove%d", i, j).c_str());
          log_out("Combo[%d]Move[%d] == '%s'\n", i, j, name);
          const control* found = controls->lookup(name);
          if (found) {
            c.steps.push_back(*found);
          } else {
            log_out("WARNING: Control [%s] not found in controls [%x]\n", name, log_addr(controls));
          }
        }
      } else {
        log_out("WARNING: can't bind controls because controls aren't set\n");
      }
      combos->push_back(c);
      log_out("Adding combo[%d] combotype[%d] reqkeys[%d]\n", static_cast<int>(combos->size()), c.combotype,
              c.reqkeys());
    }
  }

  log_out("Loaded Char [%d]images [%d]animations [%d]combos\n", static_cast<int>(images.size()),
          static_cast<int>(moves.size()), static_cast<int>(combos->size()));
  if (width_override != 0) width = width_override;
  if (height_override != 0) height = height_override;
  log_out("Final size [%d,%d]\n", width, height);

  const int weights[6] = {50, 25, 30, 25, 25, 50};
  for (int i = 0; i < 6; ++i) ai_weights[i] = weights[i];
  damage = 1;
}

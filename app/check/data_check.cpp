#include "app/check/data_check.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "anim/animation.h"
#include "anim/data_bounds.h"
#include "app/check/data_check_combos.h"
#include "app/check/data_check_keys.h"
#include "app/check/data_check_notes.h"
#include "app/check/data_check_pictures.h"
#include "app/check/data_check_stage.h"
#include "app/fight/fight_setup.h"
#include "app/settings.h"
#include "core/config_file.h"
#include "core/data_path.h"
#include "fighter/lifeform.h"
#include "stage/level.h"

namespace {

std::string key_of(const char* fmt, int a, int b = 0) {
  char key[64];
  std::snprintf(key, sizeof key, fmt, a, b);
  return key;
}

// Pictures the title and select screens load (never keyed).
const char* const title_pictures[] = {
    "rsrc\\dmk_logo2_640x480.png",
    "rsrc\\QZ_group_redo_rough_640x480.png",
    "rsrc\\brela\\brela_symbol.png",
    "rsrc\\brela\\brela_action_shot.png",
    "rsrc\\kastrell\\kastrell_symbol.png",
    "rsrc\\kastrell\\kastrell_action_shot_ha.png",
    "rsrc\\morvane\\morvane_symbol.png",
    "rsrc\\morvane\\morvane_action_shot.png",
    "rsrc\\dravitz\\dravitz_symbol.png",
    "rsrc\\dravitz\\dravitz_action_shot.png",
};
const char* const bullet_picture = "rsrc\\brela\\special\\brela_bullet1.png";
const char* const loading_file = "game\\fighter\\loading.ini";
const char* const font_file = "rsrc\\Veranda.ttf";

}  // namespace

bool data_checker::first_time(const char* path, checked_kind kind) {
  if (!checked_.insert({kind, path}).second) return false;
  if (named_.insert(path).second) ++files_checked;
  return true;
}

bool data_checker::open_config(config_file& config, const char* path, const data_site& by, data_file_kind kind) {
  if (!*path) {
    error(by.file, by.line, "%s names an empty file", by.key.c_str());
    return false;
  }
  if (refused(path, data_kind::text, by)) return false;
  if (!looks_like_text(path, by)) return false;
  if (!config.load(path)) {
    error_at(by, path, "missing file");
    return false;
  }
  check_keys(*this, config, path, kind);
  return true;
}

int data_checker::count_of(const config_file& config, const char* file, const char* key, int limit,
                           bool required) {
  if (!config.has_key(key)) {
    if (required) error(file, 0, "%s is missing", key);
    return 0;
  }
  int n = config.get_int(key);
  if (n < 0 || n > limit) {
    error(file, config.line_of(key), "%s=%d is outside 0..%d", key, n, limit);
    return n < 0 ? 0 : limit;
  }
  return n;
}

void data_checker::check_settings() {
  const char* path = "game\\game.ini";
  if (!first_time(path, checked_kind::settings)) return;
  config_file ini;
  const data_site by = fixed_site("the game");
  if (refused(path, data_kind::text, by)) return;
  if (!ini.load(path)) {
    error(path, 0, "missing file (the game keeps its default settings)");
    return;
  }
  check_keys(*this, ini, path, data_file_kind::settings);
  struct range {
    const char* key;
    int lo, hi;
  };
  const range refused_ranges[] = {{"width", 1, max_screen_side}, {"height", 1, max_screen_side}, {"fps", 1, 200}};
  for (const range& r : refused_ranges) {
    int v = ini.get_int(r.key);
    if (ini.has_key(r.key) && v != 0 && (v < r.lo || v > r.hi)) {
      error(path, ini.line_of(r.key), "%s=%d is outside %d..%d", r.key, v, r.lo, r.hi);
    }
  }
  // Match and display settings: the game ignores a value out of range (and 0)
  // and keeps what it does without the key.
  struct kept_range {
    const char* key;
    int lo, hi;
    const char* kept;
  };
  const kept_range other_ranges[] = {{"rounds", 1, 9, "one endless fight"},
                                     {"round_time", 10, 999, "rounds without a clock"},
                                     {"difficulty", 1, 5, "the opponent's classic play"},
                                     {"scale", 1, 8, "a window of scale 1"},
                                     {"push_apart", 0, 1, "it off"},
                                     {"hide_timing_figure", 0, 1, "the figure shown"},
                                     {"hide_hit_boxes", 0, 1, "the outlines shown"},
                                     {"main_menu", 0, 1, "no main menu"},
                                     {"shot_name_height", 1, 1000, "the circling copies drawn whole"}};
  for (const kept_range& r : other_ranges) {
    int v = ini.get_int(r.key);
    if (ini.has_key(r.key) && v != 0 && (v < r.lo || v > r.hi)) {
      warning(path, ini.line_of(r.key), "%s=%d is outside %d..%d: the game ignores it and keeps %s", r.key, v, r.lo,
              r.hi, r.kept);
    }
  }
  const int smooth = ini.get_int("smooth");
  if (ini.has_key("smooth") && smooth != 0 && smooth != 1) {
    warning(path, ini.line_of("smooth"), "smooth=%d is outside 0..1: the game reads it as 1 (smoothing on)", smooth);
  }
  int bpp = ini.get_int("bpp");
  if (ini.has_key("bpp") && bpp != 0 && bpp != 8 && bpp != 15 && bpp != 16 && bpp != 24 && bpp != 32) {
    error(path, ini.line_of("bpp"), "bpp=%d is not 8, 15, 16, 24 or 32", bpp);
  }
  check_video_settings(*this, ini);
  if (ini.has_key("music")) check_sound(ini.get_string("music"), site_of(ini, path, "music"));
  for (const char* key : {"menu_backdrop", "arcade_ending"}) {
    if (ini.has_key(key)) check_picture(ini.get_string(key), site_of(ini, path, key), false);
  }
}

void data_checker::check_fighter(const char* path) {
  if (!first_time(path, checked_kind::character)) return;
  config_file cfg;
  if (!open_config(cfg, path, fixed_site("the roster"), data_file_kind::character)) return;

  if (!cfg.has_key("hp")) error(path, 0, "hp is missing (the fighter starts with 0 health)");
  if (cfg.has_key("name")) {
    const std::string written = cfg.get_string("name");
    const std::string shown = fighter_name_from_key(written.c_str());
    std::string meant = written;
    std::replace(meant.begin(), meant.end(), '_', ' ');
    if (shown.empty()) {
      warning(path, cfg.line_of("name"), "name is empty: the fighter keeps the name from its file, %s",
              fighter_name_from_file(path).c_str());
    } else if (shown != meant) {
      warning(path, cfg.line_of("name"), "name=%s is shown as \"%s\": at most %d printable characters", written.c_str(),
              shown.c_str(), static_cast<int>(max_fighter_name));
    }
  }
  if (cfg.has_key("scale")) {
    double s = cfg.get_float("scale");
    if (!(s > 0.0 && s <= 100.0)) {
      error(path, cfg.line_of("scale"), "scale=%s is not a size factor above 0 and up to 100", cfg.get_string("scale"));
    }
  }
  if (cfg.has_key("speed")) {
    double s = cfg.get_float("speed");
    if (!(s >= 0.0 && s <= 1000.0)) error(path, cfg.line_of("speed"), "speed=%s is outside 0..1000", cfg.get_string("speed"));
  }

  int moves = count_of(cfg, path, "moves", max_char_moves, true);
  for (int i = 0; i < move_slot_count || i < moves; ++i) {
    std::string key = key_of("move%d", i);
    if (i >= moves || !cfg.has_key(key.c_str())) {
      if (i < move_slot_count) error(path, cfg.line_of("moves"), "move slot %d is missing (%s)", i, key.c_str());
      continue;
    }
    check_animation(cfg.get_string(key.c_str()), site_of(cfg, path, key));
    std::string scale_key = key_of("move%dscale", i);
    if (cfg.has_key(scale_key.c_str())) {
      double s = cfg.get_float(scale_key.c_str());
      if (!(s > 0.0 && s <= 100.0)) {
        error(path, cfg.line_of(scale_key.c_str()), "%s=%s is not a size factor above 0 and up to 100",
              scale_key.c_str(), cfg.get_string(scale_key.c_str()));
      }
    }
  }

  int images = count_of(cfg, path, "images", max_char_images, true);
  if (cfg.has_key("images") && cfg.get_int("images") == 0) {
    error(path, cfg.line_of("images"), "images=0: the fighter has no posture pictures");
  }
  for (int i = 0; i < images; ++i) {
    std::string key = key_of("image%d", i);
    if (!cfg.has_key(key.c_str())) {
      error(path, cfg.line_of("images"), "%s is missing", key.c_str());
      continue;
    }
    check_picture(cfg.get_string(key.c_str()), site_of(cfg, path, key), true);
  }
  if (cfg.has_key("knocked_out")) {
    check_picture(cfg.get_string("knocked_out"), site_of(cfg, path, "knocked_out"), true);
  }
  check_combos(*this, cfg, path);
  check_costume(cfg, path);
}

void data_checker::check_animation(const char* path, const data_site& by) {
  if (!first_time(path, checked_kind::animation)) return;
  config_file cfg;
  if (!open_config(cfg, path, by, data_file_kind::animation)) return;
  int frames = count_of(cfg, path, "images", max_animation_frames, true);
  if (cfg.has_key("images") && cfg.get_int("images") == 0) {
    error(path, cfg.line_of("images"), "images=0: the animation has no frames");
  }
  for (int n = 0; n < frames; ++n) {
    std::string key = key_of("image%d", n);
    if (!cfg.has_key(key.c_str())) {
      error(path, cfg.line_of("images"), "%s is missing", key.c_str());
    } else {
      check_picture(cfg.get_string(key.c_str()), site_of(cfg, path, key), true);
      frame_pictures_[path].push_back(cfg.get_string(key.c_str()));
    }
    enum class effect { none, flash, fade };
    struct range {
      const char* fmt;
      int limit;
      effect what;
    };
    const range ranges[] = {{"rate%d", max_frame_rate, effect::none},
                            {"shake%d", max_frame_shake, effect::none},
                            {"flash%d", max_frame_flash, effect::flash},
                            {"flashrate%d", max_frame_flash, effect::fade}};
    for (const range& r : ranges) {
      std::string k = key_of(r.fmt, n);
      if (!cfg.has_key(k.c_str())) continue;
      const int v = cfg.get_int(k.c_str());
      const int line = cfg.line_of(k.c_str());
      if (v < -r.limit || v > r.limit) {
        error(path, line, "%s=%d is outside %d..%d", k.c_str(), v, -r.limit, r.limit);
      } else if (r.what == effect::flash && (v < 0 || v > 255)) {
        warning(path, line, "%s=%d is outside 0..255: the stage uses only its low byte, a flash of %d", k.c_str(), v,
                v & 0xFF);
      } else if (r.what == effect::fade && v < 0) {
        warning(path, line, "%s=%d is negative: the flash grows instead of fading, flickering until another frame "
                "sets it", k.c_str(), v);
      }
    }
    std::string sound = key_of("sound%d", n);
    if (cfg.has_key(sound.c_str())) check_sound(cfg.get_string(sound.c_str()), site_of(cfg, path, sound));
  }
}

void data_checker::check_level(const char* path) {
  if (!first_time(path, checked_kind::level)) return;
  config_file cfg;
  if (!open_config(cfg, path, fixed_site("the fight set-up"), data_file_kind::level)) return;

  if (cfg.has_key("music")) check_sound(cfg.get_string("music"), site_of(cfg, path, "music"));
  const char* bgset = cfg.get_string("bgset");
  int pictures = 0;
  config_file set;
  if (!cfg.has_key("bgset")) {
    error(path, 0, "bgset is missing");
  } else if (first_time(bgset, checked_kind::background_set) && open_config(set, bgset, site_of(cfg, path, "bgset"), data_file_kind::background_set)) {
    pictures = count_of(set, bgset, "images", max_level_images, true);
    if (pictures == 0) error(bgset, set.line_of("images"), "has no pictures: the stage stays empty");
    for (int m = 0; m < pictures; ++m) {
      std::string key = key_of("image%d", m);
      if (!set.has_key(key.c_str())) {
        error(bgset, set.line_of("images"), "%s is missing", key.c_str());
      } else {
        check_picture(set.get_string(key.c_str()), site_of(set, bgset, key), false);
      }
    }
  }

  auto index_ok = [&](const std::string& key) {
    int p = cfg.get_int(key.c_str());
    if (p < 0 || p >= pictures) {
      error(path, cfg.line_of(key.c_str()), "%s=%d is not a picture of the background set (0..%d)", key.c_str(), p,
            pictures - 1);
    }
  };
  if (cfg.has_key("floor") && cfg.get_int("floor") != -1) index_ok("floor");
  int length = count_of(cfg, path, "length", max_level_parts, true);
  for (int n = 0; n < length; ++n) {
    std::string part = key_of("part%d", n);
    if (cfg.has_key(part.c_str())) index_ok(part);
    std::string layers_key = key_of("part%dparallax", n);
    int layers = count_of(cfg, path, layers_key.c_str(), max_level_layers, false);
    for (int j = 0; j < layers; ++j) {
      std::string layer = key_of("part%dparallax%d", n, j);
      if (!cfg.has_key(layer.c_str())) continue;  // a skipped layer is allowed
      index_ok(layer);
      int p = cfg.get_int(layer.c_str());
      if (p >= 0 && p < pictures) {
        // A parallax layer is drawn over its piece: it needs transparent pixels.
        const std::string image = key_of("image%d", p);
        check_picture(set.get_string(image.c_str()), site_of(set, bgset, image), true);
      }
    }
    std::string sortie_key = key_of("part%dsortie", n);
    if (!cfg.has_key(sortie_key.c_str())) continue;
    if (n >= max_sorties) {
      error(path, cfg.line_of(sortie_key.c_str()), "%s: only parts 0..%d can have a sortie", sortie_key.c_str(),
            max_sorties - 1);
      continue;
    }
    const char* sortie_file = cfg.get_string(sortie_key.c_str());
    if (!first_time(sortie_file, checked_kind::sortie)) continue;
    config_file wave;
    if (open_config(wave, sortie_file, site_of(cfg, path, sortie_key), data_file_kind::sortie)) {
      count_of(wave, sortie_file, "enemies", max_sorties, true);
    }
  }
  if (cfg.has_key("scale")) {
    double s = cfg.get_float("scale");
    if (!(s >= 0.01 && s <= 10.0)) error(path, cfg.line_of("scale"), "scale=%s is outside 0.01..10", cfg.get_string("scale"));
  }
  check_stage_cover(*this, path, cfg, set, pictures);
}

int run_data_check(bool notes) {
  // No window and no sound device: the dummy drivers are enough to decode.
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  log_out("check: checking the data in the current directory\n");

  data_checker check;
  check.notes = notes;
  for (const colour_swap& swap : player_colour_swaps()) check.costume_colours.push_back(swap.from & 0xFFFFFF);
  check.check_settings();
  check.check_font(font_file);
  for (const char* picture : title_pictures) check.check_picture(picture, fixed_site("the title screens"), false);
  check.check_picture(bullet_picture, fixed_site("the projectiles"), true);
  check.check_animation(loading_file, fixed_site("the stage loader"));
  for (const char* fighter : roster_char_files) check.check_fighter(fighter);
  check.check_level(fight_level_file);
  if (notes) note_unreferenced_files(check);
  return check.finish();
}

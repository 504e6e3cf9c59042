// Reading the level file, its background set and its sortie files, with the
// loading animation playing at the bottom-left of the screen.
#include <cmath>
#include <cstdio>
#include <memory>
#include <new>

#include "anim/animation.h"
#include "anim/data_bounds.h"
#include "core/config_file.h"
#include "core/log.h"
#include "core/quit_request.h"
#include "gfx/screen.h"
#include "stage/level.h"

namespace {

int screen_width() { return g_screen.screen ? g_screen.screen->w : 0; }
int screen_height() { return g_screen.screen ? g_screen.screen->h : 0; }

// One step of the loading screen: the screen is not cleared in between.
// False when the player asked to quit: the loading stops there.
bool loading_tick(move* loading_move) {
  if (loading_move) loading_move->play(0, screen_height() - loading_move->max_height);
  present_frame();
  return !poll_quit_request();
}

// The loading animation lives only while the level loads, however it ends.
// The move is declared last so it goes first: it drops its handle on the
// animation before the animation is freed.
struct loading_screen {
  std::unique_ptr<animation> anim{new (std::nothrow) animation};
  std::unique_ptr<move> played{new (std::nothrow) move};
};

// An index into the background set from `key`; -1 (and an ERROR line) when
// it does not name one of the `count` pictures.
int picture_index(const config_file& config, const char* file, const char* key, int count) {
  int index = config.get_int(key);
  if (index < 0 || index >= count) {
    log_out("ERROR: [%s] %s=%d is not a picture of the background set (%d pictures), ignored\n",
            file, key, index, count);
    return -1;
  }
  return index;
}

void load_sortie(sortie& wave, const char* file) {
  config_file config;
  config.load(file);
  wave = sortie();
  wave.size = count_key(config, file, "enemies", max_sorties);
  log_out("SORTIE size [%d]\n", wave.size);
  char key[48];
  for (int e = 0; e < wave.size; ++e) {
    std::snprintf(key, sizeof key, "enemy%d", e);
    wave.enemy[e] = config.get_int(key);
    std::snprintf(key, sizeof key, "enemy%dcount", e);
    wave.count[e] = config.get_int(key);
  }
}

constexpr double min_level_scale = 0.01;
constexpr double max_level_scale = 10.0;

}  // namespace

level::~level() = default;

void level::load(const char* path) {
  if (!path) path = "";
  // A second load starts from an empty stage rather than appending to it.
  total_height = 0;
  scroll_x = 0;
  loading = 0;
  log_out("load level\n");
  loop = -1;
  shake = 0;
  layered_segments.clear();
  plist.clear();
  images.clear();
  floor = -1;
  for (sortie& s : sorties) s = sortie();

  // The loading screen.
  loading_screen screen;
  animation* loading_anim = screen.anim.get();
  move* loading_move = screen.played.get();
  if (loading_anim) {
    loading_anim->load("game\\fighter\\loading.ini");
    loading_anim->loop = 1;
    // Without frames there is nothing to fit to the screen: keep its size.
    float z = 1.0f;
    if (loading_anim->max_width > 0) {
      z = static_cast<float>(screen_width()) / static_cast<float>(loading_anim->max_width);
    }
    log_out("z is [%f]\n", z);
    loading_anim->owner_scale = z;
    if (loading_move) loading_move->add(loading_anim);
  }
  if (!loading_tick(loading_move)) return;

  // The level file and its background set.
  log_out("loading [%s]\n", path);
  config_file config;
  config.load(path);
  const char* bgset = config.get_string("bgset");
  log_out("loading bgset[%s]\n", bgset);
  config_file set;
  set.load(bgset);
  stage_width = set.get_int("width");
  max_height = 0;
  max_width = 0;
  int picture_count = count_key(set, bgset, "images", max_level_images);
  log_out("width[%d] images[%d]\n", stage_width, picture_count);
  if (picture_count == 0) log_out("WARNING: [%s] has no pictures, the stage stays empty\n", bgset);
  if (!loading_tick(loading_move)) return;

  // The loop and floor pieces.
  if (config.has_key("loop")) {
    log_out("Has loop\n");
    loop = config.get_int("loop");
  }
  if (config.has_key("floor")) {
    log_out("Has floor\n");
    // -1 is how a file says "no floor"; anything else must name a picture.
    floor = config.get_int("floor") == -1 ? -1 : picture_index(config, path, "floor", picture_count);
  }

  // The pictures, then the parts in file order. Room for all of them first, so appending never moves them.
  total_height = 0;
  loading = 1;
  // A quit request ends the loading after the tick it came in.
  auto stop_loading = [this] { loading = 0; };
  images.reserve(picture_count);
  char key[64];
  for (int m = 0; m < picture_count; ++m) {
    std::snprintf(key, sizeof key, "image%d", m);
    img_mgr picture;
    picture.load(set.get_string(key));
    picture.no_zoom_cache = 1;
    images.push_back(picture);
    if (images.back().height > max_height) max_height = images.back().height;
    if (images.back().width > max_width) max_width = images.back().width;
    if (!loading_tick(loading_move)) return stop_loading();
    present_frame();
  }

  // The parts, each inserted at the front: part 0 ends up last.
  length = count_key(config, path, "length", max_level_parts);
  for (int n = 0; n < length; ++n) {
    layered_segment layers;
    std::snprintf(key, sizeof key, "part%dparallax", n);
    if (config.has_key(key) && config.get_int(key) > 0) {
      int layer_keys = count_key(config, path, key, max_level_layers);
      for (int j = 0; j < layer_keys; ++j) {
        std::snprintf(key, sizeof key, "part%dparallax%d", n, j);
        if (config.has_key(key)) {
          int index = picture_index(config, path, key, picture_count);
          if (index >= 0) {
            layers.layers.push_back(index);
            log_out("Added layer[%d]\n", index);
          }
        }
        if (!loading_tick(loading_move)) return stop_loading();
      }
    }

    std::snprintf(key, sizeof key, "part%d", n);
    if (config.has_key(key)) {
      int p = picture_index(config, path, key, picture_count);
      if (p >= 0) {
        log_out("level: insert img#[%d] at 0\n", p);
        plist.emplace_front(images[p]);
        log_out("Add layers [%d]\n", static_cast<int>(layers.layers.size()));
        log_out("Copying layered segment\n");
        layered_segments.insert(layered_segments.begin(), std::make_unique<layered_segment>(layers));
        total_height += images[p].height;
        log_out("level: height [%d] onscrsz[%d]\n", images[p].height, total_height);
      }
    }

    std::snprintf(key, sizeof key, "part%dsortie", n);
    if (config.has_key(key)) {
      if (n < max_sorties) {
        load_sortie(sorties[n], config.get_string(key));
      } else {
        log_out("ERROR: [%s] %s: only parts 0..%d can have a sortie, ignored\n", path, key,
                max_sorties - 1);
      }
    }
    if (!loading_tick(loading_move)) return stop_loading();
  }
  log_out("level length is [%d/%d]\n", length, total_height);

  // The stage's own size factor.
  if (config.has_key("scale")) {
    log_out("Scaling level \n");
    double value = config.get_float("scale");
    if (!(value >= min_level_scale && value <= max_level_scale)) {
      log_out("ERROR: [%s] scale=%f is outside %g..%g, using 1.0\n", path, value, min_level_scale,
              max_level_scale);
      value = 1.0;
    }
    scale = value;
    max_height = trunc_to_int(max_height * scale);
    max_width = trunc_to_int(max_width * scale);
    if (!loading_tick(loading_move)) return stop_loading();
  }

  // Diagnostics: the pictures that fill one screen height, from picture 0.
  int screen_h = screen_height();
  log_out("Lets look at the size of onscreen plist before loading [%d]\n", static_cast<int>(plist.size()));
  int sum = 0;
  for (size_t i = 0; sum < screen_h && i < images.size(); ++i) {
    log_out("adding h/w[ %d /%d]\n", images[i].height, images[i].width);
    sum += images[i].height;
    if (!loading_tick(loading_move)) return stop_loading();
  }
  log_out("reset at [%d]\n", sum - screen_h);
  log_out("Lets look at the size of onscreen plist [%d]\n", static_cast<int>(plist.size()));
  log_out("done loading\n");
  loading = 0;
  log_out("ml[%d] mw[%d]\n", max_height, max_width);

  // An empty set has no picture 0: the bottom piece then sits on the screen's edge.
  base_y = screen_h - (images.empty() ? 0 : images[0].height);

  // One last loading frame, then the finished screen.
  loading_tick(loading_move);
  present_frame();
}

#include "anim/animation.h"

#include <cmath>
#include <cstdio>
#include <new>

#include "anim/data_bounds.h"
#include "anim/frame_keys.h"
#include "core/log.h"
#include "gfx/image_cache.h"
#include "gfx/screen.h"

frame_effect_hooks g_frame_effects;

// ---- animation_frame ----

static private_image copy_picture(const img_mgr* src) {
  if (!src) return nullptr;
  private_image copy = copy_private(src);
  if (!copy) log_out("ERROR: Out of memory? can't allocated new image\n");
  return copy;
}

static std::unique_ptr<frame_sound> copy_sound(const frame_sound* src) {
  return src ? src->copy() : nullptr;
}

animation_frame::animation_frame(const animation_frame& src)
    : image(copy_picture(src.image.get())),
      sound(copy_sound(src.sound.get())),
      rate(src.rate),
      has_sound(src.has_sound),
      flash(src.flash),
      shake(src.shake),
      flashrate(src.flashrate),
      fire(src.fire) {}

animation_frame& animation_frame::operator=(const animation_frame& src) {
  log_out("Assigning frames\n");
  if (this == &src) return *this;
  image.reset();
  sound.reset();
  image = copy_picture(src.image.get());
  sound = copy_sound(src.sound.get());
  rate = src.rate;
  has_sound = src.has_sound;
  flash = src.flash;
  shake = src.shake;
  flashrate = src.flashrate;
  fire = src.fire;
  return *this;
}

// ---- animation ----

void animation::load(const char* path) {
  if (!path) path = "";
  frames.clear();
  if (!config.load(path)) {
    log_out("Can't load animation from [%s]", path);
    return;
  }
  int count = count_key(config, path, "images", max_animation_frames);
  total = 0;
  if (config.get_int("loop")) loop = 1;
  frames.reserve(count);

  for (int n = 0; n < count; ++n) {
    frame_keys keys(n);
    const char* picture_name = config.get_string(keys.image);
    fetched<img_mgr> fetched_picture = image_cache.fetch(picture_name);
    img_mgr* picture = fetched_picture.get();
    if (!picture) {
      log_out("ERROR: Can't load [%s], can't allocate memory\n", path);
      return;
    }
    // A lent picture is the cache's own, so the swaps and the flip stay in it
    // for every later user of the file; the frame keeps a copy. A given copy
    // is ours. With costume_on_copies the swaps go to the frame's copy only,
    // so a fighter loaded later from the same files keeps the file's colours.
    const bool costume_on_own_copy = costume_on_copies && fetched_picture.is_lent() && !colour_swaps.empty();
    private_image own;
    if (costume_on_own_copy) {
      if (picture->pixels() && flipped == 1) picture->flip();
      own = copy_picture(picture);
      if (own) picture = own.get();
      if (picture->pixels()) {
        picture->swap_colours(colour_swaps);
      }
    } else if (picture->pixels()) {
      picture->swap_colours(colour_swaps);
      if (flipped == 1) picture->flip();
    }
    if (picture->width > max_width) max_width = picture->width;
    if (picture->height > max_height) max_height = picture->height;

    frames.emplace_back();
    animation_frame& frame = frames.back();
    if (own) {
      frame.image = std::move(own);
    } else {
      frame.image = fetched_picture.is_lent() ? copy_picture(picture) : hold_private(fetched_picture.take_copy());
    }
    frame.rate = bounded_key(config, path, keys.rate, 0, -max_frame_rate, max_frame_rate);
    frame.shake = bounded_key(config, path, keys.shake, 0, -max_frame_shake, max_frame_shake);
    frame.flash = bounded_key(config, path, keys.flash, 0, -max_frame_flash, max_frame_flash);
    frame.flashrate =
        bounded_key(config, path, keys.flashrate, 25, -max_frame_flash, max_frame_flash);
    frame.fire = config.get_int(keys.fire);
    total += frame.rate;

    if (config.has_key(keys.sound)) {
      frame.has_sound = 1;
      if (g_frame_effects.fetch_sound) frame.sound = g_frame_effects.fetch_sound(config.get_string(keys.sound));
    }
  }
}

void animation::draw_frame(int x, int y, unsigned index) {
  if (frames.empty()) return;
  if (index >= frames.size()) index = static_cast<unsigned>(frames.size() - 1);
  animation_frame& frame = frames[index];
  frame_stage* stage = g_frame_effects.stage ? g_frame_effects.stage() : nullptr;

  img_mgr* picture = frame.image.get();
  if (picture) {
    // A software flip needs pixels; an image that failed to load has none.
    if (picture->flipped != static_cast<uint32_t>(flipped) && (opengl_mode() || picture->pixels())) {
      picture->flip();
    }
    picture->set_alpha(static_cast<uint32_t>(alpha));
    double stage_zoom = stage ? stage->zoom() : 1.0;
    if (stage_zoom == 1.0) {
      picture->draw(x, y);
    } else {
      double size = owner_scale * scale;
      // A zero or broken size factor from bad data would divide by zero.
      if (size > 0.0 && std::isfinite(size)) {
        picture->draw_zoomed(trunc_to_int(x / size), y, g_screen.screen, stage_zoom * size);
      }
    }
  }

}

void animation::frame_effects(unsigned index, frame_effect_sink& out) const {
  if (frames.empty()) return;
  if (index >= frames.size()) index = static_cast<unsigned>(frames.size() - 1);
  const animation_frame& frame = frames[index];
  if (frame.has_sound && frame.sound) out.sound(*frame.sound, -1);
  if (frame.flash) out.flash(frame.flash, frame.flashrate);
  if (frame.shake) out.shake(frame.shake);
}

namespace {

class live_sink final : public frame_effect_sink {
 public:
  void sound(frame_sound& s, int channel) override { s.play_on(channel); }
  void shake(int amplitude) override {
    if (frame_stage* stage = g_frame_effects.stage ? g_frame_effects.stage() : nullptr) stage->shake(amplitude);
  }
  void flash(int strength, int fade_per_tick) override {
    if (frame_stage* stage = g_frame_effects.stage ? g_frame_effects.stage() : nullptr) stage->flash(strength, fade_per_tick);
  }
};

class muted_sink final : public frame_effect_sink {
 public:
  void sound(frame_sound&, int) override {}
  void shake(int) override {}
  void flash(int, int) override {}
};

live_sink live_effects;
muted_sink muted_effects;

}  // namespace

frame_effect_sink& live_frame_effects() { return live_effects; }
frame_effect_sink& muted_frame_effects() { return muted_effects; }

// ---- playback ----

anim_stack::~anim_stack() {
  for (anim_play* p : plays) delete p;
}

anim_play* anim_stack::add(const anim_play& record) {
  std::unique_ptr<anim_play> kept(new (std::nothrow) anim_play(record));
  if (!kept) return nullptr;
  plays.push_back(kept.get());
  return kept.release();
}

std::unique_ptr<::anim_stack> move::new_anim_stack() {
  std::unique_ptr<::anim_stack> stack(new (std::nothrow) ::anim_stack);
  if (!stack) {
    log_out("Can't create a new animation\n");
    return nullptr;
  }
  for (const counted_ptr<animation>& handle : animations) {
    animation* a = handle.operator->();  // a null handle reports itself
    anim_play record;
    record.animation = a;
    if (a && !a->frames.empty()) {
      const animation_frame& first = a->frames[0];
      if (first.image) {
        if (first.image->width > max_width) max_width = first.image->width;
        if (first.image->height > max_height) max_height = first.image->height;
      }
      record.countdown = first.rate;
      record.loop = a->loop;
    } else {
      // Nothing to show: finished before it starts.
      record.active = 0;
      if (a) record.loop = a->loop;
    }
    if (!stack->add(record)) {
      log_out("Can't create a new animation\n");
      return nullptr;
    }
  }
  return stack;
}

int move::play(int x, int y) {
  if (!anim_stack || anim_stack->empty()) {
    anim_stack = new_anim_stack();
    if (!anim_stack) {
      log_out("Can't get stack animation\n");
      return 0;
    }
  }
  for (anim_play* record : anim_stack->plays) {
    record->x = x;
    record->y = y;
    step(record);
    ::animation* a = record->animation;
    size_t count = a ? a->frames.size() : 0;
    if (record->index < count) continue;
    if (record->loop && count > 0) {
      record->index = 0;
      record->countdown = a->frames[0].rate;
    } else {
      record->active = 0;
    }
  }
  return 1;
}

int move::step(anim_play* record) {
  if (!record || !record->active) return 1;
  ::animation* a = record->animation;
  if (!a || a->frames.empty()) {
    record->active = 0;
    return 1;
  }
  a->draw_frame(record->x, record->y, record->index);
  a->frame_effects(record->index, live_frame_effects());
  record->countdown -= 1;
  if (record->countdown <= 0) {
    record->index += 1;
    if (record->index < a->frames.size()) record->countdown = a->frames[record->index].rate;
  }
  return 1;
}

// How each fuzz target drives the game's real loaders once the fuzzed bytes
// are a data file. Header-only so the tests replay the kept crash inputs
// (tools/fuzz/regressions) through exactly the same steps.
#pragma once
#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "anim/animation.h"
#include "app/replay/script_file.h"
#include "app/settings.h"
#include "app/video.h"
#include "core/config_file.h"
#include "fighter/control.h"
#include "fighter/lifeform.h"
#include "fighter/sound_effect.h"
#include "gfx/image_cache.h"
#include "gfx/img_mgr.h"
#include "gfx/pixel_share.h"
#include "gfx/zoom_entries.h"
#include "stage/level.h"

// Frees every picture the image cache holds and empties its table: each input
// then starts from the same cache and memory stays flat.
inline void fuzz_reset_image_cache() { image_cache.forget_all(); }

// Splits an input at each line "#--" into up to `max_parts` pieces (the
// targets that need several files at once).
inline void fuzz_split(const char* text, size_t size, std::string* parts, int max_parts) {
  int n = 0;
  size_t start = 0;
  for (int k = 0; k < max_parts; ++k) parts[k].clear();
  for (size_t i = 0; i + 4 <= size && n + 1 < max_parts; ++i) {
    if (std::memcmp(text + i, "#--\n", 4) == 0 && (i == 0 || text[i - 1] == '\n')) {
      parts[n++].assign(text + start, i - start);
      start = i + 4;
      i += 3;
    }
  }
  parts[n].assign(text + start, size - start);
}

// The reader: every entry's texts end inside their buffers and every key
// answers a lookup. Returns false on a broken entry.
inline bool drive_config_file(const char* name) {
  config_file config;
  config.load(name);
  for (int n = 0; n < config.entry_count(); ++n) {
    const char* key = config.key_at(n);
    if (strnlen(key, config_file::key_size) >= static_cast<size_t>(config_file::key_size)) return false;
    if (strnlen(config.value_at(n), config_file::value_size) >= static_cast<size_t>(config_file::value_size)) {
      return false;
    }
    volatile int i = config.get_int(key);
    volatile double d = config.get_float(key);
    (void)i;
    (void)d;
    if (!config.has_key(key) || !config.get_string(key)) return false;
  }
  return config.get_string("absent key")[0] == '\0';
}

// An animation file: loaded with a colour swap, played six ticks (the last
// three mirrored and zoomed), drawn past its end, released.
inline void drive_animation(const char* name) {
  level stage;
  level* saved = g_level;
  g_level = &stage;
  animation* a = new animation;
  a->colour_swaps.push_back({0xFF00FFu, 0x00FF00u});
  a->load(name);
  {
    move m;
    m.add(counted_ptr<animation>(a));
    for (int tick = 0; tick < 6; ++tick) {
      if (tick == 3) {
        a->flipped = 1;
        stage.zoom = 0.75;
      }
      m.play(10, 20);
    }
    a->draw_frame(0, 0, 1000000u);  // past the end: the last frame
    m.animations.clear();
  }
  delete a;
  g_level = saved;
  fuzz_reset_image_cache();
  // Zoomed copies live until the program ends in the game; here they go with
  // the input so that memory stays flat.
  free_all_zoom_entries();
}

// The seven names a character file may use in its combos, as in the fight.
inline control_map* fuzz_controls() {
  static control_map* map = nullptr;
  if (map) return map;
  const char* names[] = {"up", "noup", "down", "left", "right", "punch", "kick"};
  const int keys[] = {SDLK_UP, SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_i, SDLK_k};
  map = new control_map;
  for (int i = 0; i < 7; ++i) {
    control* c = new control(names[i], 1, 1000);
    c->add_pair(keys[i], i == 1 ? 0 : 1);
    map->insert(names[i], c);
  }
  return map;
}

// A character file loaded into a fresh lifeform as the fight set-up does; the
// moves, animations and pictures a fighter keeps for the whole run go with it.
inline void drive_character(const char* name) {
  {
    lifeform fighter;
    fighter.controls = fuzz_controls();
    fighter.colour_swaps.push_back({0x00FF00u, 0x112233u});
    fighter.load(name);
  }
  fuzz_reset_image_cache();
}

// A level file (which may name the background set and sortie files beside it),
// loaded, drawn once scrolled and zoomed, released.
inline void drive_level(const char* name) {
  level* saved = g_level;
  level* stage = new level;
  g_level = stage;
  stage->load(name);
  stage->scroll_x = 37;
  stage->zoom = 0.8;
  stage->advance();
  stage->draw();
  g_level = saved;
  delete stage;
  fuzz_reset_image_cache();
}

// A picture (any format SDL_image recognises): loaded, recoloured, mirrored,
// copied, assigned and drawn plain and zoomed.
inline void drive_picture(const char* name) {
  img_mgr picture;
  picture.load(name);
  if (!picture.pixels()) return;
  picture.swap_colour(0xFF00FFu, 0x00FF00u);
  img_mgr copy(picture);
  if (!opengl_mode()) copy.flip();
  copy.set_alpha(128);
  img_mgr assigned;
  assigned = copy;
  picture.draw(5, 5);
  copy.no_zoom_cache = 1;
  copy.draw_zoomed(-3, 7, g_video.screen, 0.6);
  assigned.no_zoom_cache = 1;
  assigned.draw_zoomed(0, 0, g_video.screen, 1.7);
}

// A sound effect file: loaded as the game does, then freed (the game keeps
// its samples; a harness must not).
inline void drive_sound(const char* name) {
  sound_effect effect;
  if (Mix_Chunk* chunk = effect.load_sound(name)) Mix_FreeChunk(chunk);
}

// A key script or replay file (a host path): read and checked as each kind.
// Returns false when an accepted replay breaks what playback relies on, or
// an error message could carry more than one short printable line.
inline bool drive_script(const char* file) {
  std::string error;
  for (script_kind kind : {script_kind::key_script, script_kind::replay}) {
    replay_file parsed;
    error.clear();
    if (!load_script_file(file, kind, parsed, error)) {
      if (error.size() > 600) return false;
      for (char c : error) {
        if (c < 0x20 || c > 0x7e) return false;
      }
      continue;
    }
    long last = 0;
    for (const key_script_event& k : parsed.keys) {
      if (k.frame < last || k.key < 0 || k.key >= SDLK_LAST) return false;
      last = k.frame;
    }
    if (parsed.header.version == 0) continue;  // a plain key script
    const replay_header& h = parsed.header;
    if (h.width < 1 || h.height < 1 || static_cast<long long>(h.width) * h.height > max_screen_pixels ||
        h.fps < 1 || h.fps > max_fps || h.fighter < -1 || h.fighter > 3 || parsed.end_frame < 0) {
      return false;
    }
    for (const replay_check& c : parsed.checks) {
      if (c.frame < 1 || c.frame > parsed.end_frame) return false;
    }
    for (const replay_joy_event& j : parsed.joystick) {
      if (j.index < 0 || j.index > (j.axis ? 7 : 31)) return false;
    }
    long last_action = 0;
    for (const replay_action_event& a : parsed.actions) {
      player_actions back = 0;
      if (a.player < 0 || a.player > 1 || a.frame < last_action || (a.held & ~all_player_actions) != 0 ||
          !parse_player_actions(player_actions_text(a.held), back) || back != a.held) {
        return false;
      }
      last_action = a.frame;
    }
    for (const replay_clock_frame& c : parsed.clock) {
      if (c.count == 0 || c.first + c.count > parsed.clock_readings.size()) return false;
    }
    // The header as the game writes it reads back the same.
    replay_file again;
    if (!parse_replay(replay_header_text(h) + "1 end\n", again, error) || again.header.seed != h.seed ||
        again.header.width != h.width || again.header.rounds != h.rounds) {
      return false;
    }
  }
  return true;
}

// The data checker's pictures, sounds and font: each file is decoded the way
// the game decodes it, without a window or a sound device.
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "app/check/data_check.h"
#include "app/check/data_check_pictures.h"
#include "core/data_path.h"
#include "gfx/picture_decode.h"
#include "gfx/picture_header.h"
#include "fighter/sound_effect.h"
#include "fighter/sound_header.h"

namespace {

Uint32 read_pixel(const SDL_Surface* s, int x, int y) {
  const Uint8* p = static_cast<const Uint8*>(s->pixels) + static_cast<size_t>(y) * s->pitch +
                   static_cast<size_t>(x) * s->format->BytesPerPixel;
  switch (s->format->BytesPerPixel) {
    case 1:
      return p[0];
    case 2:
      return *reinterpret_cast<const Uint16*>(p);
    case 3:
      return p[0] | (p[1] << 8) | (static_cast<Uint32>(p[2]) << 16);
    default:
      return *reinterpret_cast<const Uint32*>(p);
  }
}

// One pass over the pixels: is some pixel exactly (0, 255, 0), the game's
// transparent colour, and which of `colours` (0xRRGGBB, at most 32) appear.
void scan_colours(SDL_Surface* s, const std::vector<uint32_t>& colours, bool& has_key, uint32_t& found) {
  has_key = false;
  found = 0;
  const uint32_t all = colours.size() >= 32 ? ~0u : (1u << colours.size()) - 1;
  if (SDL_MUSTLOCK(s)) SDL_LockSurface(s);
  for (int y = 0; y < s->h && !(has_key && found == all); ++y) {
    for (int x = 0; x < s->w; ++x) {
      Uint8 r, g, b;
      SDL_GetRGB(read_pixel(s, x, y), s->format, &r, &g, &b);
      const uint32_t rgb = (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) | b;
      if (rgb == 0x00FF00) has_key = true;
      for (size_t i = 0; i < colours.size() && i < 32; ++i) {
        if (rgb == colours[i]) found |= 1u << i;
      }
    }
  }
  if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
}

// "FILE:LINE" of the naming key, or who loads a fixed name.
std::string named_by(const data_site& by) {
  return by.file.empty() ? by.what : by.file + ":" + std::to_string(by.line);
}

bool mixer_ready() {
  static int state = -1;
  if (state < 0) {
    state = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && open_sound_mixer() ? 1 : 0;
  }
  return state == 1;
}

}  // namespace

void data_checker::check_picture(const char* path, const data_site& by, bool need_key) {
  if (!*path) {
    error(by.file, by.line, "%s names an empty picture file", by.key.c_str());
    return;
  }
  if (first_time(path, checked_kind::picture)) {
    // Decoded once, whoever names it; the key colour is looked for at the same time.
    picture_state& state = pictures_[path];
    if (refused(path, data_kind::picture, by)) return;
    if (!check_picture_size(*this, path, by)) return;
    // The game hands a decoder only what it has sized; so does the checker.
    const picture_header header = read_picture_header(path);
    const char* refusal = header.opened ? header.refusal : nullptr;
    if (!refusal) refusal = png_structure_refusal(path);
    if (refusal) {
      error(path, 0, "picture doesn't load (named by %s): %s", named_by(by).c_str(), refusal);
      return;
    }
    const std::string host = checked_data_path(path, data_kind::picture);
    SDL_Surface* s = decode_picture_file(host);
    if (!s) {
      if (access(host.c_str(), F_OK) != 0) {
        error_at(by, path, "missing picture");
      } else {
        error(path, 0, "picture doesn't load (named by %s): %s", named_by(by).c_str(), IMG_GetError());
      }
      return;
    }
    state.loaded = true;
    scan_colours(s, costume_colours, state.has_key, state.costume_colours);
    SDL_FreeSurface(s);
  }
  picture_state& state = pictures_[path];
  if (notes && need_key && state.loaded && !state.has_key && !state.key_reported) {
    state.key_reported = true;
    // Nothing breaks: the picture is drawn whole, as a rectangle.
    report(data_severity::note, path, 0,
           "picture has no pixel of the key colour (0,255,0), so nothing of it is transparent");
  }
}

void data_checker::check_sound(const char* path, const data_site& by) {
  if (!*path) {
    error(by.file, by.line, "%s names an empty sound file", by.key.c_str());
    return;
  }
  if (!first_time(path, checked_kind::sound)) return;
  if (refused(path, data_kind::sound, by)) return;
  SDL_RWops* rw = open_data_rw(path, "rb", data_kind::sound);
  if (!rw) {
    error_at(by, path, "missing sound file");
    return;
  }
  if (const char* refusal = sound_file_refusal(rw)) {
    SDL_RWclose(rw);
    error(path, 0, "sound doesn't load (named by %s): %s", named_by(by).c_str(), refusal);
    return;
  }
  if (mixer_ready()) {
    Mix_Chunk* chunk = Mix_LoadWAV_RW(rw, 0);  // closed here: a broken AIFF leaves it open
    SDL_RWclose(rw);
    if (!chunk) {
      error(path, 0, "sound doesn't load (named by %s): %s", named_by(by).c_str(), Mix_GetError());
      return;
    }
    Mix_FreeChunk(chunk);
    return;
  }
  SDL_AudioSpec audio_format;
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  if (!SDL_LoadWAV_RW(rw, 1, &audio_format, &buffer, &length)) {
    error(path, 0, "sound doesn't load (named by %s): %s", named_by(by).c_str(), SDL_GetError());
    return;
  }
  SDL_FreeWAV(buffer);
}

void data_checker::check_font(const char* path) {
  if (!first_time(path, checked_kind::font)) return;
  if (!TTF_WasInit() && TTF_Init() != 0) {
    error(path, 0, "the font library doesn't start: %s", TTF_GetError());
    return;
  }
  if (refused(path, data_kind::font, fixed_site("the game"))) return;
  TTF_Font* font = TTF_OpenFont(checked_data_path(path, data_kind::font).c_str(), 12);
  if (!font) {
    error(path, 0, "font doesn't open: %s", TTF_GetError());
    return;
  }
  TTF_CloseFont(font);
}

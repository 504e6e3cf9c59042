#include "app/music_player.h"

#include <SDL_mixer.h>

#include <map>

#include "app/sound_volumes.h"
#include "core/bounded_read.h"
#include "core/data_path.h"
#include "core/log.h"

namespace {

constexpr int fade_in_ms = 800;
constexpr int fade_out_ms = 400;

std::string playing;                          // the name of what plays, "" for silence
std::map<std::string, Mix_Music*> loaded;     // kept until the program ends; null: doesn't play

bool mixer_open() {
  int frequency = 0, channels = 0;
  Uint16 format = 0;
  return Mix_QuerySpec(&frequency, &format, &channels) != 0;
}

Mix_Music* music_of(const std::string& name) {
  auto found = loaded.find(name);
  if (found != loaded.end()) return found->second;
  log_out("loading music [%s]\n", name.c_str());
  Mix_Music* music = nullptr;
  const data_file_status status = inspect_data_file(name.c_str(), data_kind::sound);
  if (!status.refusal.empty()) {
    log_out("WARNING: can't play the music %s: %s; playing without music\n", name.c_str(), status.refusal.c_str());
  } else if (!(music = Mix_LoadMUS(status.host.c_str()))) {
    log_out("WARNING: can't play the music %s: %s; playing without music\n", name.c_str(), Mix_GetError());
  }
  loaded[name] = music;
  return music;
}

}  // namespace

void play_music(const std::string& name) {
  if (!mixer_open() || name == playing) return;
  if (name.empty()) {
    fade_out_music();
    return;
  }
  playing = name;
  Mix_Music* music = music_of(name);
  if (!music) {
    Mix_HaltMusic();
    return;
  }
  // The mixer would hold the game until a fade-out ends; what is left of it is quiet anyway.
  if (Mix_FadingMusic() == MIX_FADING_OUT) Mix_HaltMusic();
  Mix_VolumeMusic(music_mixer_volume());
  if (Mix_FadeInMusic(music, -1, fade_in_ms) == -1) {
    log_out("WARNING: can't play the music %s: %s; playing without music\n", name.c_str(), Mix_GetError());
  }
}

void fade_out_music() {
  if (!mixer_open() || playing.empty()) return;
  playing.clear();
  Mix_FadeOutMusic(fade_out_ms);
}

std::string data_file_value(const char* file, const char* key) {
  const data_file_status status = inspect_data_file(file, data_kind::text);
  std::string text, error;
  if (!status.refusal.empty() || !read_bounded_file(status.host, max_text_file_bytes, text, error)) return "";
  const std::string wanted = std::string(key) + "=";
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
    size_t end = i;
    while (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != '\r' && text[end] != '\n') ++end;
    // The last token counts only when whitespace ends it, as in every data file.
    if (end < text.size() && text.compare(i, wanted.size(), wanted) == 0) {
      const std::string value = text.substr(i + wanted.size(), end - i - wanted.size());
      return value.substr(0, value.find('='));
    }
    i = end;
  }
  return "";
}

#include "fuzz_env.h"

#include <SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/video.h"
#include "core/data_path.h"
#include "fighter/sound_effect.h"

#ifndef FUZZ_DEFAULT_DATA_DIR
#define FUZZ_DEFAULT_DATA_DIR ""
#endif

void fuzz_start() {
  static bool started = false;
  if (started) return;
  started = true;
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);

  const char* data = std::getenv("FUZZ_DATA_DIR");
  if (!data || !*data) data = FUZZ_DEFAULT_DATA_DIR;
  char scratch[] = "/tmp/fight_fuzz_XXXXXX";
  if (!mkdtemp(scratch) || chdir(scratch) != 0) {
    std::fprintf(stderr, "fuzz: can't make a scratch directory\n");
    std::abort();
  }
  mkdir("fz", 0700);
  if (*data) {
    std::string game = std::string(data) + "/game";
    std::string rsrc = std::string(data) + "/rsrc";
    if (symlink(game.c_str(), "game") != 0 || symlink(rsrc.c_str(), "rsrc") != 0) {
      std::fprintf(stderr, "fuzz: can't link the data directory %s\n", data);
    }
  }

  SDL_Init(0);
  g_video.flags = SDL_HWSURFACE | SDL_DOUBLEBUF;
  g_video.start_audio();
  if (g_video.audio_ok) open_sound_mixer();
  if (g_video.set_video_mode(640, 480, 32) != 0) {
    std::fprintf(stderr, "fuzz: can't set the video mode: %s\n", SDL_GetError());
    std::abort();
  }
}

const char* fuzz_write(const char* name, const uint8_t* data, size_t size) {
  FILE* f = open_data_file(name, "wb");
  if (!f) {
    std::fprintf(stderr, "fuzz: can't write %s\n", name);
    std::abort();
  }
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
  return name;
}

#include "app/fight/match_text.h"

#include <sys/stat.h>

#include <cstring>

#include "app/dev/script_driver.h"
#include "app/fight/fight_text.h"
#include "app/fight/hud_scale.h"
#include "app/text_renderer.h"
#include "app/video.h"
#include "core/data_path.h"
#include "core/log.h"

namespace {

int screen_width() { return g_video.screen ? g_video.screen->w : 0; }

bool is_file(const char* game_path) {
  struct stat st;
  return stat(host_path(game_path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Opened at the first big word, at the size of the screen of that moment;
// lives until the program ends. Null when no font opens (the words then use
// the fight's own font).
text_renderer* big_renderer() {
  static text_renderer big;
  static bool tried = false;
  if (!tried) {
    tried = true;
    big.point_size = hud_px(big_text_point_size);
    big.solid = 1;
    big.fg = SDL_Color{255, 220, 60, 0};
    for (const char* font : {"rsrc\\Veranda.ttf", "tahoma.ttf"}) {
      if (is_file(font)) big.open_font(font);
      if (big.font_open) break;
    }
  }
  if (!big.font_open) return nullptr;
  if (g_text) big.target_surface = g_text->target_surface;
  return &big;
}

}  // namespace

int big_text_height() {
  text_renderer* r = g_text ? big_renderer() : nullptr;
  return r ? TTF_FontLineSkip(r->font) : 16;
}

void draw_big_text_centred(int y, const char* text) {
  text_renderer* r = g_text ? big_renderer() : nullptr;
  if (!r) {
    draw_fight_text_centred(y, text);
    return;
  }
  int w = 8 * static_cast<int>(std::strlen(text)), h = 0;
  TTF_SizeText(r->font, text, &w, &h);
  const int x = (screen_width() - w) / 2;
  if (fight_text_watcher) fight_text_watcher(x, y, text);
  if (fight_tracing()) log_err("fight trace: frame [%ld] text [%s] at [%d,%d]\n", presented_frames(), text, x, y);
  r->x = x;
  r->y = y;
  r->draw_text(text);
}

void draw_fight_text_centred(int y, const char* text) {
  int w = 0, h = 0;
  fight_text_size(text, w, h);
  draw_fight_text((screen_width() - w) / 2, y, text);
}

#include "app/fight/fight_text.h"

#include <sys/stat.h>

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "app/dev/script_driver.h"
#include "app/fight/hud_scale.h"
#include "app/text_renderer.h"
#include "core/data_path.h"
#include "core/log.h"

void (*fight_text_watcher)(int x, int y, const char* text) = nullptr;

bool fight_tracing() {
  static const bool on = std::getenv("GAME_FIGHT_TRACE") != nullptr;
  return on;
}


namespace {

void measure(text_renderer* r, const char* text, int& w, int& h) {
  if (!text) text = "";
  if (r && r->font_open && TTF_SizeText(r->font, text, &w, &h) == 0) return;
  w = 8 * static_cast<int>(std::strlen(text));
  h = 16;
}

bool is_file(const char* game_path) {
  struct stat st;
  return stat(host_path(game_path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The fight's font at one size, opened from the font files the run uses
// (only files that exist are tried, so a missing font adds no log lines) when
// first wanted at that size. Lives until the program ends.
struct sized_font {
  text_renderer renderer;
  int opened_at = 0;  // point size last tried; 0 before the first
};

// `font` at `point_size`, or null when no font file opens at it.
text_renderer* font_at(sized_font& font, int point_size) {
  if (font.opened_at != point_size) {
    font.opened_at = point_size;
    font.renderer.point_size = point_size;
    if (font.renderer.font_open) {  // the old size goes, opened or not
      TTF_CloseFont(font.renderer.font);
      font.renderer.font = nullptr;
      font.renderer.font_open = 0;
    }
    for (const char* file : {"rsrc\\Veranda.ttf", "tahoma.ttf"}) {
      if (is_file(file)) font.renderer.open_font(file);
      if (font.renderer.font_open) break;
    }
  }
  if (!font.renderer.font_open) return nullptr;
  if (g_text) font.renderer.target_surface = g_text->target_surface;
  return &font.renderer;
}

// Small labels: the fight's font at the label size for this screen; g_text's
// own when that cannot be opened.
text_renderer* label_renderer() {
  static sized_font labels;
  text_renderer* r = font_at(labels, hud_px(fight_label_point_size));
  return r ? r : g_text;
}

// Messages: g_text on screens of up to 480 lines; on taller ones the same font
// at a size grown with the screen (g_text's own when that cannot be opened).
text_renderer* message_renderer() {
  if (!g_text) return nullptr;
  const int size = hud_px(g_text->point_size);
  if (size == g_text->point_size) return g_text;
  static sized_font messages;
  text_renderer* r = font_at(messages, size);
  return r ? r : g_text;
}

}  // namespace

void draw_fight_text(int x, int y, const char* text) {
  if (fight_text_watcher) fight_text_watcher(x, y, text);
  // The timing figure (digits only) would be a line every frame.
  if (fight_tracing() && text && !std::isdigit(static_cast<unsigned char>(text[0]))) {
    log_err("fight trace: frame [%ld] text [%s] at [%d,%d]\n", presented_frames(), text, x, y);
  }
  text_renderer* r = message_renderer();
  if (!r) return;
  r->x = x;
  r->y = y;
  r->draw_text(text);
}

void draw_fight_text_clear(int x, int y, const char* text) {
  text_renderer* r = message_renderer();
  if (!r) return;
  const int solid = r->solid;
  r->solid = 1;
  r->x = x;
  r->y = y;
  r->draw_text(text);
  r->solid = solid;
}

void fight_text_size(const char* text, int& w, int& h) { measure(message_renderer(), text, w, h); }

void fight_label_size(const char* text, int& w, int& h) { measure(g_text ? label_renderer() : nullptr, text, w, h); }

void draw_fight_label(int x, int y, const char* text) {
  if (fight_text_watcher) fight_text_watcher(x, y, text);
  if (!g_text) return;
  text_renderer* r = label_renderer();
  // A renderer without a font would retry its fallback and print a line every frame.
  if (!r || !r->font_open) return;
  r->x = x;
  r->y = y;
  r->draw_text(text);
}

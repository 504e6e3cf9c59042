#include "app/fight_text.h"

#include <sys/stat.h>

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "app/script_driver.h"
#include "app/text_renderer.h"
#include "core/data_path.h"
#include "core/log.h"

void (*fight_text_watcher)(int x, int y, const char* text) = nullptr;

bool fight_tracing() {
  static const bool on = std::getenv("GAME_FIGHT_TRACE") != nullptr;
  return on;
}

void draw_fight_text(int x, int y, const char* text) {
  if (fight_text_watcher) fight_text_watcher(x, y, text);
  // The timing figure (digits only) would be a line every frame.
  if (fight_tracing() && text && !std::isdigit(static_cast<unsigned char>(text[0]))) {
    log_err("fight trace: frame [%ld] text [%s] at [%d,%d]\n", presented_frames(), text, x, y);
  }
  if (!g_text) return;
  g_text->x = x;
  g_text->y = y;
  g_text->draw_text(text);
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

// Opened once, on the first label, from the font files the run uses (only
// files that exist are tried, so a missing font adds no log lines); lives
// until the program ends. Null when none opens: labels then use g_text.
text_renderer* label_renderer() {
  static text_renderer small;
  static bool tried = false;
  if (!tried) {
    tried = true;
    small.point_size = fight_label_point_size;
    for (const char* font : {"rsrc\\Veranda.ttf", "tahoma.ttf"}) {
      if (is_file(font)) small.open_font(font);
      if (small.font_open) break;
    }
  }
  if (!small.font_open) return g_text;
  if (g_text) small.target_surface = g_text->target_surface;
  return &small;
}

}  // namespace

void fight_text_size(const char* text, int& w, int& h) { measure(g_text, text, w, h); }

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

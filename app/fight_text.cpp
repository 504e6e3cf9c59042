#include "app/fight_text.h"

#include <cctype>
#include <cstdlib>

#include "app/script_driver.h"
#include "app/text_renderer.h"
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

#include "app/screens/online_menu.h"

#include <SDL.h>

#include <cstring>
#include <vector>

#include "app/fight/menu.h"
#include "app/frame_limiter.h"
#include "app/screens/menu_panel.h"
#include "app/screens/title_screens.h"
#include "app/video.h"
#include "core/quit_request.h"
#include "core/seams.h"

namespace {

constexpr size_t max_address = 60;  // a long host name and a port fit on the panel
constexpr size_t max_port = 5;

bool host_char(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' || c == '-';
}

}  // namespace

bool parse_online_port(const std::string& text, int& port) {
  if (text.empty() || text.size() > max_port) return false;
  long n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  if (n < 1 || n > 65535) return false;
  port = static_cast<int>(n);
  return true;
}

bool parse_online_address(const std::string& text, std::string& host, int& port) {
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return false;
  const std::string name = text.substr(0, colon);
  for (char c : name) {
    if (!host_char(c)) return false;
  }
  if (!parse_online_port(text.substr(colon + 1), port)) return false;
  host = name;
  return true;
}

char online_typed_char(int key) {
  if (key >= SDLK_0 && key <= SDLK_9) return static_cast<char>('0' + (key - SDLK_0));
  if (key >= SDLK_KP0 && key <= SDLK_KP9) return static_cast<char>('0' + (key - SDLK_KP0));
  if (key >= SDLK_a && key <= SDLK_z) return static_cast<char>('a' + (key - SDLK_a));
  switch (key) {
    case SDLK_PERIOD:
    case SDLK_KP_PERIOD: return '.';
    case SDLK_MINUS:
    case SDLK_KP_MINUS: return '-';
    case SDLK_COLON:
    case SDLK_SEMICOLON: return ':';
    case SDLK_BACKSPACE: return '\b';
    default: return 0;
  }
}

bool run_online_screen(title_screens& titles, online_menu_state& state, online_target& target) {
  menu rows_menu;
  rows_menu.open({"Host", "Join"}, read_menu_keys(true));
  rows_menu.selected = state.row;
  // Keys are typed on their press: what is held as the screen opens types nothing.
  std::vector<Uint8> held(SDLK_LAST, 1);
  titles.backdrop.set_alpha(255);
  limiter().set_rate(titles.fps);
  while (!poll_quit_request()) {
    const Uint8* keys = key_state();
    for (int k = 1; keys && k < SDLK_LAST; ++k) {
      const bool down = keys[k] != 0;
      const bool pressed = down && !held[k];
      held[k] = down ? 1 : 0;
      const char c = pressed ? online_typed_char(k) : 0;
      if (!c) continue;
      std::string& value = rows_menu.selected == 0 ? state.port : state.address;
      if (c == '\b') {
        if (!value.empty()) value.pop_back();
      } else if (rows_menu.selected == 0 ? (c >= '0' && c <= '9' && value.size() < max_port)
                                         : value.size() < max_address) {
        value += c;
      }
      state.problem.clear();
    }
    const int chosen = rows_menu.apply(read_menu_keys(true));
    state.row = rows_menu.selected;
    if (chosen == menu_escaped) return false;
    if (chosen == 0) {
      if (parse_online_port(state.port, target.host_port)) return true;
      state.problem = "The port is a number 1..65535";
    } else if (chosen == 1) {
      if (parse_online_address(state.address, target.join_host, target.join_port)) return true;
      state.problem = "Type the address as HOST:PORT";
    }

    std::vector<menu_panel_row> rows = {{"Host on port", state.port + (state.row == 0 ? "_" : "")},
                                        {"Join", (state.address.empty() && state.row != 1 ? "HOST:PORT" : state.address) +
                                                     (state.row == 1 ? "_" : "")}};
    if (!state.problem.empty()) rows.push_back({state.problem, "", true});
    g_video.clear_screen();
    titles.draw_backdrop();
    draw_menu_panel("Online", rows, state.row);
    g_video.present();
    limiter().delay();
  }
  return false;
}

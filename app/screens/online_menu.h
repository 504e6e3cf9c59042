// The main menu's Online screen: Host (a UDP port to wait on) or Join (the
// host's address as HOST:PORT), each value typed with the keyboard on its
// row. Up and down choose the row, Return starts it once the value reads
// right, Backspace takes the last character back, Escape goes back to the
// main menu.
#pragma once
#include <string>

#include "app/fight/menu.h"

struct title_screens;

struct online_target {
  int host_port = -1;     // Host chosen: the port to wait on
  std::string join_host;  // Join chosen: the host's name or address
  int join_port = -1;
};

// The text typed into the rows and where the cursor is; kept by the caller,
// so a second visit shows what was typed last.
struct online_menu_state {
  int row = 0;  // 0 Host, 1 Join
  std::string port = "7777";
  std::string address;
  std::string problem;  // why Return did nothing, shown under the rows
};

// "HOST:PORT" with a name or address of letters, digits, dots and dashes and a
// port 1..65535; false otherwise.
bool parse_online_address(const std::string& text, std::string& host, int& port);
// A port 1..65535 in decimal digits; false otherwise.
bool parse_online_port(const std::string& text, int& port);

// The character a key types into a row ('\b' for Backspace), 0 for none:
// digits, letters, '.', '-' and ':' (the key that carries it, shifted or not).
char online_typed_char(int key);

// Runs the screen over the backdrop (faded in, as for the main menu) until
// Host or Join is chosen with a value that reads right (true, `target`
// filled) or Escape goes back (false).
bool run_online_screen(title_screens& titles, online_menu_state& state, online_target& target);

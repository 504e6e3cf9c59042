#include "app/option_list.h"

#include <algorithm>

#ifndef GAME_VERSION
#define GAME_VERSION "unknown"
#endif

const char* const game_version = GAME_VERSION;

const char* const data_search_text =
    "the directory given with --data-dir, else $VELTMOORE_BRAWL_DATA,\n"
    "else the current directory when it holds game/game.ini,\n"
    "else share/veltmoore-brawl/data beside the directory of the executable\n"
    "(PREFIX/bin/veltmoore-brawl reads PREFIX/share/veltmoore-brawl/data).";

const std::vector<option_doc>& option_docs() {
  static const std::vector<option_doc> docs = {
      {"--data-dir", "DIR", "run from DIR (the directory holding game/ and rsrc/)"},
      {"--seed", "N", "seed the random source with N instead of the clock"},
      {"--script", "FILE",
       "play a key script: lines of 'FRAME KEY down|up'; while it\nplays the clock advances 1000/fps ms per frame"},
      {"--record", "FILE", "write this run as a replay (keys, joystick, seed, checks)"},
      {"--replay", "FILE", "play a replay back (Escape ends it); stops at a mismatch"},
      {"--frames", "N", "stop (exit status 0) after N presented frames"},
      {"--screenshot", "N:FILE", "save frame N (counted from 0) as a PNG picture; repeatable"},
      {"--no-limiter", "", "do not wait between frames"},
      {"--opengl", "", "draw through OpenGL (as hwaccel=1 in game.ini)"},
      {"--software", "", "draw with surface blits (as hwaccel=0)"},
      {"--fighter", "N", "skip the select screen and play roster position N (0..3)"},
      {"--training", "N", "training with roster position N (0..3) against a dummy:\nno clock, P opens the training menu"},
      {"--dummy", "N", "with --training, the dummy's roster position (default 0)"},
      {"--demo", "", "the computer plays both fighters"},
      {"--benchmark", "N", "run N fight frames unpaced and print frame-time figures;\nonline, time the fight's first N frames as it is played"},
      {"--settings", "FILE",
       "read and save the player's settings in FILE instead of\n$XDG_CONFIG_HOME/veltmoore-brawl/settings.ini"},
      {"--no-settings", "", "neither read nor save the player's settings (repeatable runs)"},
      {"--check", "", "check the data files without opening a window"},
      {"--notes", "", "with --check, also list what is worth knowing but not wrong:\nfiles nothing refers to, opaque pictures, ..."},
      {"--view", "N",
       "the fighter viewer on roster position N (0..3): its postures\nand moves on the stage's floor, with their hit "
       "boxes"},
      {"--view-file", "FILE", "the fighter viewer on a character file, e.g.\ngame\\fighter\\brela_char.ini"},
      {"--difficulty", "N", "the computer opponent's level, 1 (gentle) to 5; 0 as it always played"},
      {"--duel", "N|walker",
       "benchmark: entry 1 is played by the computer at level N, or by a\nplayer who only walks in and punches; ends "
       "at the first fall\nwith one 'duel:' summary (needs --script, an empty file will do)"},
      {"--host", "PORT", "play online: wait for one opponent on UDP port PORT"},
      {"--join", "HOST:PORT", "play online against the game hosting at HOST:PORT"},
      {"--input-delay", "N", "online, frames (0..8, default 2) before your own actions\ntake effect; more hides a slow connection's corrections"},
      {"--version", "", "print the version and stop"},
      {"--help", "", "this text"},
  };
  return docs;
}

std::string usage_text(const std::string& program) {
  const size_t column = 23;  // where the descriptions start
  std::string out = "Usage: " + program + " [options]\nThe game's data (the directory holding game/ and rsrc/) is\n  ";
  for (const char* c = data_search_text; *c; ++c) out += *c == '\n' ? std::string("\n  ") : std::string(1, *c);
  out += "\n\n";
  for (const option_doc& o : option_docs()) {
    std::string head = std::string("  ") + o.name + (*o.argument ? std::string(" ") + o.argument : "");
    head.resize(std::max(head.size() + 1, column), ' ');
    out += head;
    for (const char* c = o.text; *c; ++c) out += *c == '\n' ? "\n" + std::string(column, ' ') : std::string(1, *c);
    out += "\n";
  }
  return out;
}

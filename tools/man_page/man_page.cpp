// man_page FILE: writes the manual page veltmoore-brawl(6) from the game's own
// option table, the one --help prints.
#include <cstdio>
#include <string>

#include "app/option_list.h"

namespace {

// Text as roff reads it: backslashes and minus signs escaped, and no line
// taken for a request because of a leading dot or quote.
std::string roff(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
  }
  return out;
}

// --help's lines of one option joined into a paragraph.
std::string paragraph(const char* text) {
  std::string out = text;
  for (char& c : out) {
    if (c == '\n') c = ' ';
  }
  return "\\&" + roff(out);
}

std::string page() {
  std::string out = ".TH VELTMOORE\\-BRAWL 6 \"\" \"veltmoore\\-brawl " + roff(game_version) + "\" \"Games\"\n";
  out += ".nh\n.SH NAME\nveltmoore\\-brawl \\- a 2D fighting game for one or two players\n";
  out += ".SH SYNOPSIS\n.B veltmoore\\-brawl\n.RI [ options ]\n";
  out += ".SH DESCRIPTION\n"
         "A fighting game on a scrolling stage: pick one of four fighters and fight the computer, "
         "or a friend at the same keyboard, in matches of rounds against a clock. "
         "Arrow keys walk, jump and crouch, i punches, k kicks, P pauses, Escape quits.\n"
         ".PP\nEverything the game shows is data: key=value text files, PNG pictures, WAV sounds "
         "and a TrueType font. It reads them from ";
  out += paragraph(data_search_text) + "\n";
  out += ".PP\nThe game narrates its work on standard output.\n";
  out += ".SH OPTIONS\n";
  for (const option_doc& o : option_docs()) {
    if (*o.argument) {
      out += ".TP\n.BI \"" + roff(o.name) + " \" \"" + roff(o.argument) + "\"\n";
    } else {
      out += ".TP\n.B " + roff(o.name) + "\n";
    }
    out += paragraph(o.text) + "\n";
  }
  out += ".SH ENVIRONMENT\n.TP\n.B VELTMOORE_BRAWL_DATA\n\\&the data directory, when \\-\\-data\\-dir is not given.\n";
  out += ".TP\n.B SDL_VIDEODRIVER\n\\&dummy runs without a display (with SDL_AUDIODRIVER=dummy, without sound).\n";
  out += ".SH FILES\n.TP\n.I /usr/share/veltmoore\\-brawl/data/game/game.ini\n"
         "\\&the window size, frame rate and drawing mode, and the rules of a match.\n";
  out += ".SH EXIT STATUS\n0 when the game ended normally; 1 when --check found errors; "
         "2 for a bad option, a bad key script or replay, or no data found; "
         "3 when a replay desynchronised or memory ran out.\n";
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.6\n", argv[0]);
    return 2;
  }
  std::FILE* out = std::fopen(argv[1], "w");
  const std::string text = page();
  if (!out || std::fwrite(text.data(), 1, text.size(), out) != text.size() || std::fclose(out) != 0) {
    std::fprintf(stderr, "man_page: can't write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
